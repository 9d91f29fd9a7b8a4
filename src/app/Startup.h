#pragma once

// The program from process start to the end of the message loop. Returns the exit code.
int RunQuillo(int argc, char *argv[]);
