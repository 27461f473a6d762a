#pragma once

// Text fields kept as plain heap arrays (new[] / delete[]) by classes whose layout callers
// rely on.

// Frees *slot and replaces it by a heap copy of text, or by null for null text. The
// owner frees the copy with delete[] (or with another call giving null).
void ReplaceHeapText(char*& slot, const char* text);
