// What the program sets up for itself on Windows, first thing in main().
#pragma once

void setUpWindowsProcess();
