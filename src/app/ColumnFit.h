#pragma once
// How the columns of a list share its width when each column has a least width it needs (its
// heading and its widest text whole).
#include <array>

// The results list: the name column half the width, the limit column a quarter (0.24), the
// value column the rest. A column narrower than it needs takes the room from the columns that
// have more than they need, the widest spare first; when the list is too narrow for all, each
// column keeps what it needs and the list is as wide as their sum.
std::array<int, 3> ResultsListColumnWidths(int listWidth, const std::array<int, 3>& needed);
