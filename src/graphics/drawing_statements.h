// The drawing statements on the current window: points, lines and boxes,
// circles, arcs and pies, flood fill, images and block transfers, text, and
// the surface statements SCROLL and SETWINDOW. Each draws into the surface
// and into the window in the same statement.
#pragma once

#include <string>
#include <string_view>

#include "flow/threads.h"

void PSET(std::string &arg, ThreadIndex slot);
void PRESET(std::string &arg, ThreadIndex slot);
void MOVETO(std::string &arg, ThreadIndex slot);
void CIRCLE(std::string &arg, ThreadIndex slot);
void PAINT(std::string &arg, ThreadIndex slot);
void LOADIMAGE(std::string &arg, ThreadIndex slot);
void GPRINT(std::string &arg, ThreadIndex slot);
void SCROLL(std::string &arg, ThreadIndex slot);
void SETWINDOW(std::string &arg, ThreadIndex slot);

// The graphics forms of statements whose tokens other forms share: LINE
// (not LINE INPUT), GET and PUT (not the record forms with "#").
void GraphicsLine(std::string &arg);
void GraphicsGet(std::string &arg);
void GraphicsPut(std::string &arg);

// Program end: deletes every bitmap of the image table, in slot order.
void ReleaseImages();
// CLEAR and the start of a run: the image table forgets its bitmaps,
// which are deleted, as no variable can name them any more.
void ResetImages();

// Point(x, y): the colour number of a pixel of the current window's
// surface (integer text); -1 outside the surface.
std::string PointFunction(std::string_view args, ThreadIndex slot);
