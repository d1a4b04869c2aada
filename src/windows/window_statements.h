// The statements of user windows, message boxes and menus.
#pragma once

#include <string>

#include "flow/threads.h"

void CREATEWINDOW(std::string &arg, ThreadIndex slot);
void DESTROYWINDOW(std::string &arg, ThreadIndex slot);
void SHOWWINDOW(std::string &arg, ThreadIndex slot);
void MOVEWINDOW(std::string &arg, ThreadIndex slot);
void SETSCROLLINFO(std::string &arg, ThreadIndex slot);
void SENDMESSAGE(std::string &arg, ThreadIndex slot);
void MESSAGEBOX(std::string &arg, ThreadIndex slot);

void CREATEMENU(std::string &arg, ThreadIndex slot);
void CREATEPOPUPMENU(std::string &arg, ThreadIndex slot);
void DELETEMENU(std::string &arg, ThreadIndex slot);
void DESTROYMENU(std::string &arg, ThreadIndex slot);
void DRAWMENUBAR(std::string &arg, ThreadIndex slot);
void ENABLEMENUITEM(std::string &arg, ThreadIndex slot);
void INSERTMENUITEM(std::string &arg, ThreadIndex slot);
void REMOVEMENU(std::string &arg, ThreadIndex slot);
void RESETSYSTEMMENU(std::string &arg, ThreadIndex slot);
void SETMENU(std::string &arg, ThreadIndex slot);
void TRACKPOPUPMENU(std::string &arg, ThreadIndex slot);

// The functions MenuHandle, SubMenu, SysMenu and MenuStr$ (null for
// another code).
#include "expr/builtin.h"
BuiltinFunction FindWindowFunction(uint16_t code);
