#pragma once

#include <functional>

// Runs one user command; an error it raises is shown with its text (as the application's
// default handler shows it) and the program goes on. Returns false when the command failed.
bool RunCommand(const std::function<void()> &command);
