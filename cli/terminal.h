#pragma once

#include <cstdio>
#include <string>

// What the command-line tool needs of the console; one implementation per platform.
namespace terminal {

// True when the standard stream (0 in, 1 out, 2 error) is a terminal.
bool isTerminal(int standardStream);
// The terminal's width in columns, 0 when the stream is no terminal or does not say.
int columns(int standardStream);
// Lets the terminal on the standard stream take the escape that clears to the end of a line.
void allowEscapes(int standardStream);
// Keeps standard output for the tool's own lines and sends whatever else writes there (the
// download's own chatter) to standard error; returns the stream to write the tool's lines to.
FILE *takeStandardOutput();
// Calls handler on Ctrl-C, on whichever thread; system calls under way go on.
void onInterrupt(void (*handler)(int));
// From inside the handler: the next Ctrl-C ends the program at once.
void nextInterruptEnds();
// One line from standard input, without its line end; false when the input ended or, while
// waiting, stop() became true.
bool readLine(std::string &line, bool (*stop)());

} // namespace terminal
