#pragma once

// The program from process start to the end of the message loop. Returns the exit code.
int RunQuillo(int argc, char *argv[]);

// Names the application. It sets no display name: the platform would append one to every
// window's caption, and each window shows exactly its own.
void NameApplication();
