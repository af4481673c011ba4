// The leak checker's suppressions for the sanitizer build, built into every
// program that links the engine, so runs and tests need no options of their
// own. Only what the system libraries leak themselves belongs here:
// - libdbus keeps its global state until dbus_shutdown(), which SDL leaves to
//   the program and which is unsafe while any other part of the process may
//   still use D-Bus;
// - Mesa's software driver keeps allocations of its own past the release of
//   every context the program made.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n"
           "leak:swrast_dri.so\n";
}
