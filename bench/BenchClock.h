#pragma once
// Timing helpers shared by the bench programs: each run prints one figure in milliseconds.
#include <windows.h>

#include <cstdio>

#include "mivo/MessagePump.h"

namespace bench {

inline double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Milliseconds since the process was created (its loader and DLL start-up included).
inline double SinceProcessStartMs() {
    FILETIME creation, exitTime, kernel, user, now;
    ::GetProcessTimes(::GetCurrentProcess(), &creation, &exitTime, &kernel, &user);
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER c{{creation.dwLowDateTime, creation.dwHighDateTime}};
    ULARGE_INTEGER n{{now.dwLowDateTime, now.dwHighDateTime}};
    return static_cast<double>(n.QuadPart - c.QuadPart) / 10000.0;
}

inline void Pump() { mivo::DispatchPendingMessages(); }

inline int Report(double ms) {
    std::printf("%.3f\n", ms);
    std::fflush(stdout);
    return 0;
}

}  // namespace bench
