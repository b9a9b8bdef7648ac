// The functions that the skin library "jedata.dll" exports.
//
// All use the __stdcall convention (the usual one for Windows libraries) and
// are exported undecorated ("SkinAttachEx", not "_SkinAttachEx@8"), so any
// caller can bind them by name with GetProcAddress. Every function must be
// called on the thread that owns the windows: the skin follows the calling
// thread's windows only.
#pragma once

#ifdef _WIN32
#define VELMORA_SKIN_CALL __stdcall
#else
#define VELMORA_SKIN_CALL
#endif

extern "C" {

// Reads and checks the skin file (ANSI path, code page 936), then gives the
// calling thread's windows its look: every top-level window present now and
// every window created later on this thread, with their controls. The
// password is accepted and unused: skin files are not enciphered. Returns 1
// when the skin is attached, 0 when the file is missing or invalid (nothing
// is changed then; a skin attached before stays). Attaching again replaces
// the skin in use.
typedef int(VELMORA_SKIN_CALL SkinAttachExFn)(const char* skinPath, const char* password);

// The same with a UTF-16 path, which reaches a skin file in a folder of any
// name (one that code page 936 cannot hold too).
typedef int(VELMORA_SKIN_CALL SkinAttachExWFn)(const wchar_t* skinPath, const char* password);

// Gives every window its standard look back and releases the skin. Returns 1
// when a skin was attached.
typedef int(VELMORA_SKIN_CALL SkinDetachFn)();

// 1 while a skin is attached.
typedef int(VELMORA_SKIN_CALL SkinIsAttachedFn)();

// 1 when the window (a top-level window or control) is drawn by the skin.
typedef int(VELMORA_SKIN_CALL SkinIsWindowSkinnedFn)(void* window);

}  // extern "C"

// Static controls with SS_NOTIFY (the clickable labels) are drawn as links.
