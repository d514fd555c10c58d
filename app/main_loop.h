#pragma once
// The main loop: pumps the thread's messages until the last framework window is gone
// or WM_QUIT arrives.
class NibscopeApp;

namespace tevrin {
class TimerSystem;
}

// An empty queue runs the application's idle pass, then waits up to 10 ms for input or
// a message, returning as soon as one arrives; a message goes to the main window's
// accelerators first and, when they do not take it, is translated and dispatched.
// A failure that a window procedure kept is thrown as soon as the dispatch or the idle
// pass returns. Every pass that does not end the loop runs the timers once.
void RunMainLoop(NibscopeApp& application, tevrin::TimerSystem& timers);
