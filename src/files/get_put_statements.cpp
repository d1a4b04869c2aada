#include "files/get_put_statements.h"

#include "files/file_statements.h"
#include "runtime/runtime_error.h"

void GET(std::string &arg, ThreadIndex) {
  if (!arg.empty() && arg[0] == '#')
    ChannelGet(arg);
  else
    RuntimeError(); // images are not available yet
}

void PUT(std::string &arg, ThreadIndex) {
  if (!arg.empty() && arg[0] == '#')
    ChannelPut(arg);
  else
    RuntimeError(); // images are not available yet
}
