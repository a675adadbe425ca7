#pragma once

#include <QLatin1String>

#include <utility>

// Forms are built in code; the style sheet and the slots connected by name find their
// widgets by object name.
template <class T, class... Args>
T* Named(const char* name, Args&&... args)
{
    T* object = new T(std::forward<Args>(args)...);
    object->setObjectName(QLatin1String(name));
    return object;
}
