#include "files/get_put_statements.h"

#include "files/file_statements.h"
#include "graphics/drawing_statements.h"
#include "runtime/runtime_error.h"

void GET(std::string &arg, ThreadIndex) {
  if (!arg.empty() && arg[0] == '#')
    ChannelGet(arg);
  else
    GraphicsGet(arg);
}

void PUT(std::string &arg, ThreadIndex) {
  if (!arg.empty() && arg[0] == '#')
    ChannelPut(arg);
  else
    GraphicsPut(arg);
}
