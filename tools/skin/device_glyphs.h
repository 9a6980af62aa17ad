#pragma once
// Things the viewer works with: files, stills, sound, the link to the recorder and its two modes.
#include "glyph.h"

namespace dvr::skin {

Glyph OpenFolderGlyph();
// A camera body with its lens: save the picture as a still image.
Glyph StillCameraGlyph();
Glyph SpeakerGlyph();
// The speaker with a cross where its sound waves were.
Glyph MutedSpeakerGlyph();
// Two chain links: connect to the recorder.
Glyph LinkGlyph();
// The links pulled apart: disconnect.
Glyph BrokenLinkGlyph();
// A strip of film: the player of recordings.
Glyph FilmStripGlyph();
// A mast sending waves: the network client.
Glyph AntennaGlyph();

}  // namespace dvr::skin
