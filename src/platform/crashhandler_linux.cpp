#include "platform/crashhandler.h"

#include <csignal>
#include <cstdint>
#include <cstring>
#include <unistd.h>

namespace {

constexpr char kReportArg[] = "--vuel-crash-report";
constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

// Filled before any fault can happen: the handler may only touch plain memory.
char g_exePath[4096];
char g_altStack[64 * 1024];
volatile sig_atomic_t g_armed = 0;

void ToHex(std::uintptr_t value, char* out)
{
    char digits[2 * sizeof value + 1];
    int n = 0;
    do {
        digits[n++] = "0123456789abcdef"[value & 0xf];
        value >>= 4;
    } while (value);
    for (int i = 0; i < n; ++i)
        out[i] = digits[n - 1 - i];
    out[n] = '\0';
}

// Only async-signal-safe calls: the fresh process does the talking.
void OnFatalSignal(int sig, siginfo_t* info, void*)
{
    if (!g_armed) {
        raise(sig); // the handler is reset: the default action ends the process
        _exit(128 + sig);
    }
    char code[24];
    char addr[24];
    ToHex(static_cast<std::uintptr_t>(sig), code);
    ToHex(reinterpret_cast<std::uintptr_t>(info ? info->si_addr : nullptr), addr);
    char* const args[] = {g_exePath, const_cast<char*>(kReportArg), code, addr, nullptr};
    execv(g_exePath, args);
    _exit(128 + sig);
}

CrashHandler::Report TakeReport(int& argc, char** argv)
{
    CrashHandler::Report report;
    if (argc >= 4 && std::strcmp(argv[1], kReportArg) == 0) {
        report.crashed = true;
        report.code = QString::fromLatin1(argv[2]);
        report.address = QString::fromLatin1(argv[3]);
        argv[1] = argv[4]; // the fresh instance starts with no arguments
        argc = 1;
    }
    return report;
}

} // namespace

CrashHandler::Report CrashHandler::Install(int& argc, char** argv)
{
    const ssize_t n = readlink("/proc/self/exe", g_exePath, sizeof g_exePath - 1);
    g_exePath[n > 0 ? n : 0] = '\0';

    stack_t stack{};
    stack.ss_sp = g_altStack;
    stack.ss_size = sizeof g_altStack;
    sigaltstack(&stack, nullptr); // a stack overflow still reaches the handler

    struct sigaction action {};
    action.sa_sigaction = OnFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    sigset_t unblock;
    sigemptyset(&unblock);
    for (int sig : kFatalSignals) {
        sigaction(sig, &action, nullptr);
        sigaddset(&unblock, sig);
    }
    // exec from a handler keeps the signal mask: a restarted process must not inherit it.
    sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
    return TakeReport(argc, argv);
}

void CrashHandler::Arm() { g_armed = 1; }
