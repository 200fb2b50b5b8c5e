// The program's version, as the build sets it from the project's version.
#pragma once

namespace korvel {

#ifndef KORVEL_VERSION
#error "KORVEL_VERSION is defined by the build"
#endif

inline constexpr const char* programVersion = KORVEL_VERSION;

} // namespace korvel
