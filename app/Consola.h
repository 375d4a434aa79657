#pragma once
// Where the command line's answers go. A Windows window program has no console of its own:
// started from one, it writes its --check and --version answers there.

// Connects standard output and error to the console of the program that started this one,
// when there is one and they lead nowhere else. Nothing to do on POSIX.
void Conecta_Consola_Padre();
