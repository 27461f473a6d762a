#pragma once

// Compares two texts without regard to case: below, at or above zero as the first sorts
// before, with or after the second. Text is UTF-8 and only ASCII letters are folded;
// other bytes compare by value, which keeps the order of code points. Null counts as
// empty.
int lstrcmpiA(const char* first, const char* second);
