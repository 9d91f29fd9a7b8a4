#pragma once

class TForm_Main;

// Tells the main window which form each of its tab commands opens.
void RegisterWorkWindows(TForm_Main &main);
