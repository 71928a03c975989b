#pragma once

// Registers the window fonts that the program carries (Tahoma, MS Sans Serif).
void registerProgramFonts();
