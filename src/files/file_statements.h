// The statements of the files subsystem, as the statement table calls them.
#pragma once

#include <string>

#include "flow/threads.h"

// Channels.
void OPEN(std::string &arg, ThreadIndex slot);
void CLOSE(std::string &arg, ThreadIndex slot);

// Random-access records.
void FIELD(std::string &arg, ThreadIndex slot);
void LSET(std::string &arg, ThreadIndex slot);
void RSET(std::string &arg, ThreadIndex slot);
// The channel forms of GET and PUT ("#n,record").
void ChannelGet(const std::string &arg);
void ChannelPut(const std::string &arg);

// The file system.
void CHDIR(std::string &arg, ThreadIndex slot);
void FILECOPY(std::string &arg, ThreadIndex slot);
void KILL(std::string &arg, ThreadIndex slot);
void MKDIR(std::string &arg, ThreadIndex slot);
void NAME(std::string &arg, ThreadIndex slot);
void FILES(std::string &arg, ThreadIndex slot);
