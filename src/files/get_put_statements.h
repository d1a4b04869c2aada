// GET and PUT: the forms with "#" read and write records of a channel; the
// forms without it belong to images and report a runtime error until the
// image statements take them over.
#pragma once

#include <string>

#include "flow/threads.h"

void GET(std::string &arg, ThreadIndex slot);
void PUT(std::string &arg, ThreadIndex slot);
