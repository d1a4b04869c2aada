// The functions of SDL2 (display, clipboard, audio) that the platform calls, loaded on
// first use (see lazy_library.h).
#pragma once

#include <SDL.h>

#include "platform/lazy_library.h"

#define QUILL_SDL_FUNCTIONS(X)                                                                     \
  X(kSdl, SDL_CreateRenderer)                                                                      \
  X(kSdl, SDL_CreateTexture)                                                                       \
  X(kSdl, SDL_CreateWindow)                                                                        \
  X(kSdl, SDL_DestroyRenderer)                                                                     \
  X(kSdl, SDL_DestroyTexture)                                                                      \
  X(kSdl, SDL_DestroyWindow)                                                                       \
  X(kSdl, SDL_GetClipboardText)                                                                    \
  X(kSdl, SDL_GetDisplayBounds)                                                                    \
  X(kSdl, SDL_GetError)                                                                            \
  X(kSdl, SDL_GetKeyboardFocus)                                                                    \
  X(kSdl, SDL_GetModState)                                                                         \
  X(kSdl, SDL_GetRendererOutputSize)                                                               \
  X(kSdl, SDL_GetTicks)                                                                            \
  X(kSdl, SDL_GetWindowFlags)                                                                      \
  X(kSdl, SDL_GetWindowID)                                                                         \
  X(kSdl, SDL_GetWindowPosition)                                                                   \
  X(kSdl, SDL_GetWindowSize)                                                                       \
  X(kSdl, SDL_HasClipboardText)                                                                    \
  X(kSdl, SDL_HideWindow)                                                                          \
  X(kSdl, SDL_InitSubSystem)                                                                       \
  X(kSdl, SDL_LogSetOutputFunction)                                                                \
  X(kSdl, SDL_MinimizeWindow)                                                                      \
  X(kSdl, SDL_PollEvent)                                                                           \
  X(kSdl, SDL_Quit)                                                                                \
  X(kSdl, SDL_QuitSubSystem)                                                                       \
  X(kSdl, SDL_RWFromConstMem)                                                                      \
  X(kSdl, SDL_RaiseWindow)                                                                         \
  X(kSdl, SDL_RegisterEvents)                                                                      \
  X(kSdl, SDL_RenderClear)                                                                         \
  X(kSdl, SDL_RenderCopy)                                                                          \
  X(kSdl, SDL_RenderPresent)                                                                       \
  X(kSdl, SDL_RestoreWindow)                                                                       \
  X(kSdl, SDL_SetClipboardText)                                                                    \
  X(kSdl, SDL_SetHint)                                                                             \
  X(kSdl, SDL_SetHintWithPriority)                                                                 \
  X(kSdl, SDL_SetRenderDrawColor)                                                                  \
  X(kSdl, SDL_SetTextInputRect)                                                                    \
  X(kSdl, SDL_SetWindowHitTest)                                                                    \
  X(kSdl, SDL_SetWindowInputFocus)                                                                 \
  X(kSdl, SDL_SetWindowPosition)                                                                   \
  X(kSdl, SDL_SetWindowSize)                                                                       \
  X(kSdl, SDL_SetWindowTitle)                                                                      \
  X(kSdl, SDL_ShowWindow)                                                                          \
  X(kSdl, SDL_StartTextInput)                                                                      \
  X(kSdl, SDL_StopTextInput)                                                                       \
  X(kSdl, SDL_TLSCleanup)                                                                          \
  X(kSdl, SDL_UpdateTexture)                                                                       \
  X(kSdl, SDL_free)

namespace platform {
QUILL_SDL_FUNCTIONS(QUILL_LAZY_DECLARE)
} // namespace platform
