#pragma once
// Marks a text of the Qt-free core that the viewer's window shows in the user's language. It is
// the text itself here; the translation tool collects it under `context` (lupdate is told to read
// this macro as QT_TRANSLATE_NOOP), and the window looks it up there.
#define DVR_TRANSLATABLE(context, text) text
