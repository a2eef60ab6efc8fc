// The files of the demonstration medium, each as its bytes: sounds, songs, videos, pictures,
// documents, archives and batch files. Tests use them to build their own media.
#pragma once

#include <cstddef>
#include <string>

namespace foyer::medgen {

// Wave files: 16-bit mono bell notes, a 16-bit mono bell, an 8-bit mono sweep, 16-bit stereo
// brass.
std::string MakeChimeWav();
std::string MakeBellWav();
std::string MakeSweepWav();
std::string MakeFanfareWav();

// MIDI files: format 1 with melody and bass, format 0 with both merged, format 1, format 0.
std::string MakeMinuetMidi();
std::string MakeOdeMidi();
std::string MakeSaintsMidi();
std::string MakeJingleMidi();

// Uncompressed videos of 160 x 120 pixels, 1.5 to 2 seconds each.
std::string MakeBounceAvi();
std::string MakeOrbitAvi();
std::string MakeIntroAvi();

// Pictures: a 24-bit landscape, 8-bit mosaic and fractal, a 4-bit poster.
std::string MakeSunsetBmp();
std::string MakeMosaicBmp();
std::string MakeFractalBmp();
std::string MakePosterBmp();

// Rich-text documents: a letter, a newsletter, a price list with tab stops.
std::string MakeWelcomeRtf();
std::string MakeNewsletterRtf();
std::string MakePriceListRtf();

// Plain-text documents.
std::string MakeHistoryText();
std::string MakeFaqText();
std::string MakeManualText();

// ZIP archives of a few files each, with files in sub-folders.
std::string MakeFontsZip();
std::string MakeIconsZip();
std::string MakeToolsZip();

// Batch files that echo a few lines and wait for a key.
std::string MakeHelloBat();
std::string MakeListingBat();

// Repeatable filler for data files of programs on the medium.
std::string MakeDataBytes(size_t size, unsigned seed);

}  // namespace foyer::medgen
