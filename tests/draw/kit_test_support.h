#pragma once
// The drawing-kit tests' clean start: the Song face mapped to its installed font and the kit back
// to its program-start state.

#include "draw/figures.h"
#include "draw/fonts.h"

namespace vlab::test {

inline void StartClean() {
    InstallFontSubstitutes();
    ResetDrawKit();
}

}  // namespace vlab::test
