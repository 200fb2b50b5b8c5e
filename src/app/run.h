// The whole dialogue of one run: settings screen and analyses, until the
// user types x (or the input ends, or a file cannot be opened).
#pragma once

// Runs the dialogue on the standard streams and returns the exit status (1:
// the program has no other). Ends through endRun() on closed input or a
// file that cannot be opened.
int runKorvel();
