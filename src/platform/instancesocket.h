#pragma once

#include <QString>

// Full path of the single-instance socket named `name`, in a folder only this user can enter.
QString InstanceServerName(const QString& name);
