// The zoom steps of the programming field. The cells of a zoom are the cells
// the field was made with, times the step in percent; the vios stay on their
// cells and their controls are laid out anew (TVioLay).
#pragma once

#include <array>
#include <string>

inline constexpr std::array<int, 12> GcZomStp = {50, 67, 75, 90, 100, 110, 125, 150, 175, 200, 250, 300};
constexpr int GcZomOne = 100;

// The step above or below pct; pct itself at either end.
int ZomStpUp(int pct);
int ZomStpDwn(int pct);
// Whether pct is one of the steps.
bool IsZomStp(int pct);
// A zoom as kept in the settings: its step, 100 for anything else.
int ZomOfTxt(const std::string& txt);
