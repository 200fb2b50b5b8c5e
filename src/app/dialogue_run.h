// The interactive run: the settings screen and analyses in turn, until the
// user types x, standard input ends, or a file cannot be opened.
#pragma once

// Runs the dialogue on the standard streams and returns the exit status (1:
// the dialogue has no other).
int runDialogue();
