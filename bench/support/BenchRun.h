#pragma once
// The start of every benchmark program: the office machine's settings, then the run.

namespace bench {

// Qt programs draw off screen unless QT_QPA_PLATFORM names a platform; call it
// before the application object is made.
void UseOffscreenUnlessSet();

// A Slovak office machine: the user's locale sk_SK, ANSI code page 1250, OEM 852.
void SetSlovakMachine();

// Runs the benchmarks the command line selects; returns the program's exit code.
int RunBenchmarks(int argc, char** argv);

// The same for benchmarks of Qt parts, with the application object (QApplication,
// QGuiApplication) they need alive around the run, drawing off screen.
template <typename Application> int RunWithApplication(int argc, char** argv) {
    UseOffscreenUnlessSet();
    Application application(argc, argv);
    return RunBenchmarks(argc, argv);
}

} // namespace bench
