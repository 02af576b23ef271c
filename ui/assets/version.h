// Version text: the one "Version x.yy" the main window and the About box show.
#pragma once

// MOSAIQUA_VERSION comes from the project's version in CMake.
inline constexpr char kVersionText[] = "Version " MOSAIQUA_VERSION;
