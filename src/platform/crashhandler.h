#pragma once

#include <QString>

// Fatal faults end the process and start a fresh one, which tells the user what happened.
namespace CrashHandler {

struct Report {
    bool crashed = false;
    QString code;    // lower-case hexadecimal, no prefix
    QString address; // lower-case hexadecimal, no prefix
};

// First thing in main: also takes out of argv what a crashed predecessor handed over.
Report Install(int& argc, char** argv);

// Once the program is up: from then on a fault restarts it. A fault before (no display to
// open, a fault at every start) just ends it, so that it cannot restart for ever.
void Arm();

} // namespace CrashHandler
