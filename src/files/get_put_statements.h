// GET and PUT: the forms with "#" read and write records of a channel; the
// forms without it copy blocks of the current window's surface (images).
#pragma once

#include <string>

#include "flow/threads.h"

void GET(std::string &arg, ThreadIndex slot);
void PUT(std::string &arg, ThreadIndex slot);
