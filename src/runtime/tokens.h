// The byte codes of the program text: statement tokens (first byte 0x10 or
// 0x11, at the start of a statement), control tokens (first byte 0x01:
// structural markers, operators, function calls) and their operands. Shared by
// the engine, which reads them, and the builder, which writes them.
#pragma once

#include <cstdint>

namespace tok {

constexpr uint8_t kControl = 0x01;

// Control codes (second byte after 0x01).
enum Control : uint8_t {
  kEscape = 0x01, // 0x01 0x01: the escaped byte 0x01 of the string text form
  kThen = 0x02,
  kElse = 0x03,
  kAnd = 0x26,
  kMod = 0x31,
  kOr = 0x33,
  kXor = 0x34,
  kNot = 0x35,
  kAs = 0x36,
  kElseIfSkip = 0x41,
  kElseIf = 0x42,
  kBlock = 0x43,
  kEndIf = 0x44,
  kSubRoutine = 0x45, // routine family 1: header, body, 0x46 end, 0x47 early exit
  kSubEnd = 0x46,
  kSubExit = 0x47,
  kFuncRoutine = 0x48, // routine family 2: header, body, 0x49 end, 0x4A early exit
  kFuncEnd = 0x49,
  kFuncExit = 0x4A,
  kType = 0x4B,
  kEndType = 0x4C,
  kJump1 = 0x4D, // the three JUMP codes behave alike
  kJump2 = 0x4E,
  kJump3 = 0x4F,
  kFunction = 0x61,  // 0x01 0x61 H L: built-in function H*256+L
  kCallSub = 0x62,   // routine call whose value is not wanted
  kCallValue = 0x63, // routine call inside an expression
};

// Statement codes (first byte * 256 + second byte).
enum Statement : uint16_t {
  kPRINT = 0x1010,
  kINPUT = 0x1011,
  kOPEN = 0x1012,
  kCLOSE = 0x1013,
  kKEY = 0x1014,
  kMOUSE = 0x1015,
  kLPRINT = 0x1016,
  kFIELD = 0x1017,
  kLSET = 0x1018,
  kRSET = 0x1019,
  kWRITE = 0x101a,
  kCHAIN = 0x1020,
  kNOP = 0x1021,
  kGOTO = 0x1023,
  kGOSUB = 0x1024,
  kIF = 0x1025,
  kLOOP = 0x1026,
  kRETURN = 0x1027,
  kON = 0x1030,
  kFOR = 0x1031,
  kNEXT = 0x1032,
  kRUN = 0x1033,
  kWHILE = 0x1034,
  kWEND = 0x1035,
  kCREATETHREAD = 0x1036,
  kCHDIR = 0x1040,
  kFILECOPY = 0x1041,
  kKILL = 0x1042,
  kMKDIR = 0x1043,
  kNAME = 0x1044,
  kFILES = 0x1045,
  kLOADIMAGE = 0x1050,
  kCIRCLE = 0x1051,
  kPAINT = 0x1052,
  kMOVETO = 0x1053,
  kPRESET = 0x1054,
  kPSET = 0x1055,
  kSCROLL = 0x1056,
  kGPRINT = 0x1057,
  kMCI = 0x1058,
  kPLAY = 0x1059,
  kCLEAR = 0x1060,
  kDIM = 0x1061,
  kERASE = 0x1062,
  kDEF = 0x1063,
  kDATA = 0x1064,
  kREAD = 0x1065,
  kRESTORE = 0x1066,
  kSWAP = 0x1067,
  kBEEP = 0x1070,
  kCLS = 0x1071,
  kCOLOR = 0x1072,
  kDEFFN = 0x1074,
  kEND = 0x1079,
  kSHELL = 0x107a,
  kLET = 0x107b,
  kLOCATE = 0x107c,
  kMIDS = 0x107d, // MID$ statement
  kRANDOMIZE = 0x107e,
  kNOP2 = 0x107f,
  kPRINTER = 0x1080,
  kCLIPBOARD = 0x1081,
  kENVIRON = 0x1082,
  kSLEEP = 0x1083,
  kWIDTH = 0x1085,
  kDESTROYWINDOW = 0x1090,
  kGETMESSAGE = 0x1091,
  kMESSAGEBOX = 0x1092,
  kSENDMESSAGE = 0x1093,
  kSETSCROLLINFO = 0x1094,
  kSHOWWINDOW = 0x1095,
  kCREATEWINDOW = 0x1096,
  kSETWINDOW = 0x1097,
  kMOVEWINDOW = 0x1098,
  kCREATEMENU = 0x10b0,
  kCREATEPOPUPMENU = 0x10b1,
  kDELETEMENU = 0x10b2,
  kDESTROYMENU = 0x10b3,
  kDRAWMENUBAR = 0x10b4,
  kENABLEMENUITEM = 0x10b5,
  kINSERTMENUITEM = 0x10b6,
  kREMOVEMENU = 0x10b7,
  kRESETSYSTEMMENU = 0x10b8,
  kSETMENU = 0x10b9,
  kTRACKPOPUPMENU = 0x10ba,
  kGET = 0x1110,
  kPUT = 0x1112,
  kLINE = 0x1114,
};

constexpr uint8_t High(uint16_t code) {
  return static_cast<uint8_t>(code >> 8);
}
constexpr uint8_t Low(uint16_t code) {
  return static_cast<uint8_t>(code & 0xFF);
}

} // namespace tok
