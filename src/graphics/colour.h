// Colour numbers of the graphics and text statements: 0 to 7 are the eight
// basic colours (bit 1 blue, 2 red, 4 green), a negative number -n is the
// COLORREF n (0x00BBGGRR), anything else is black.
#pragma once

#include <cstdint>

uint32_t ColourOf(int32_t number);

// The colour number of a pixel's COLORREF: 0 to 7 for the eight basic
// colours, the negated COLORREF for any other.
int32_t ColourNumberOf(uint32_t colorref);
