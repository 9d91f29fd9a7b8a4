#pragma once

#include <memory>

class TForm_Main;

// Tells the main window which form each of its tab commands opens.
void RegisterWorkWindows(TForm_Main &main);

// The main window with its work windows registered and the three hidden service windows
// (image holder, wait banner, progress window), which it owns and which go with it.
std::unique_ptr<TForm_Main> CreateMainForms();
