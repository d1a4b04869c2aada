// The texts the runtime shows the user, in code page 932.
#pragma once

namespace msg {

// "プログラム内でエラーが起きました": the runtime error report.
constexpr const char *kProgramError = "\x83\x76\x83\x8d\x83\x4f\x83\x89\x83\x80\x93\xe0\x82\xc5\x83"
                                      "\x47\x83\x89\x81\x5b\x82\xaa\x8b\x4e\x82\xab\x82\xdc\x82\xb5"
                                      "\x82\xbd";
// "エラー": its caption, and the message-loop failure text.
constexpr const char *kError = "\x83\x47\x83\x89\x81\x5b";
// "ファイルシステム エラー": the program image cannot be read.
constexpr const char *kFileSystemError = "\x83\x74\x83\x40\x83\x43\x83\x8b\x83\x56\x83\x58\x83"
                                         "\x65\x83\x80\x20\x83\x47\x83\x89\x81\x5b";
constexpr const char *kErrorCaption = "Error";
constexpr const char *kAppCaption = "Quillrunner";

} // namespace msg
