// The files of the demonstration medium, each as its bytes: sounds, songs, videos, pictures,
// documents, archives and batch files. Tests use them to build their own media.
#include "medgen/Content.h"

#include "medgen/Artwork.h"
#include "medgen/Avi.h"
#include "medgen/Bitmap.h"
#include "medgen/Documents.h"
#include "medgen/FixedMath.h"
#include "medgen/Sound.h"
#include "medgen/Zip.h"

namespace foyer::medgen {

namespace {

constexpr uint32_t kTicksPerEighth = 48;  // at 96 ticks to the quarter note

std::vector<Tone> Tones(const std::vector<int>& keys, const std::vector<int>& durationsMs,
                        int volume) {
  std::vector<Tone> tones;
  for (size_t i = 0; i < keys.size(); ++i)
    tones.push_back({keys[i], durationsMs[i], volume});
  return tones;
}

MidiTrack Track(const std::string& name, uint8_t channel, uint8_t program,
                const std::string& melody, uint8_t velocity) {
  return {name, channel, program, ParseMelody(melody, kTicksPerEighth, 0, velocity)};
}

}  // namespace

std::string MakeChimeWav() {
  const WavFormat format{22050, 1, 16};
  return MakeWav(
      SynthesizeTones(Tones({76, 72, 67}, {400, 400, 800}, 11000), Timbre::Bell, format.SampleRate),
      format);
}

std::string MakeBellWav() {
  const WavFormat format{22050, 1, 16};
  return MakeWav(SynthesizeTones({{69, 1000, 20000}}, Timbre::Bell, format.SampleRate), format);
}

std::string MakeSweepWav() {
  const WavFormat format{11025, 1, 8};
  return MakeWav(SynthesizeSweep(200, 1800, 1200, 24000, format.SampleRate), format);
}

std::string MakeFanfareWav() {
  const WavFormat format{22050, 2, 16};
  const std::vector<int> durations = {180, 180, 180, 700};
  const auto left =
      SynthesizeTones(Tones({72, 76, 79, 84}, durations, 14000), Timbre::Brass, format.SampleRate);
  const auto right =
      SynthesizeTones(Tones({67, 72, 76, 79}, durations, 11000), Timbre::Brass, format.SampleRate);
  return MakeWav(Interleave(left, right), format);
}

std::string MakeMinuetMidi() {
  MidiSong song;
  song.BeatsPerBar = 3;
  song.MicrosPerQuarter = 375000;
  song.Tracks.push_back(Track("Minuet melody", 0, 0,  // acoustic grand piano
                              "D5:2 G4:1 A4:1 B4:1 C5:1 D5:2 G4:2 G4:2 E5:2 C5:1 D5:1 E5:1 F#5:1 "
                              "G5:2 G4:2 G4:2 C5:2 D5:1 C5:1 B4:1 A4:1 B4:2 C5:1 B4:1 A4:1 G4:1 "
                              "F#4:2 G4:1 A4:1 B4:1 G4:1 A4:6",
                              100));
  song.Tracks.push_back(Track("Minuet bass", 1, 0,
                              "G3:4 A3:2 B3:6 C4:6 B3:6 A3:6 G3:6 D4:2 B3:2 G3:2 D4:2 D3:4", 76));
  return MakeMidi(song, 1);
}

std::string MakeOdeMidi() {
  MidiSong song;
  song.MicrosPerQuarter = 450000;
  song.Tracks.push_back(Track("Ode", 0, 19,  // church organ
                              "E4:2 E4:2 F4:2 G4:2 G4:2 F4:2 E4:2 D4:2 C4:2 C4:2 D4:2 E4:2 "
                              "D4:3 C4:1 C4:4",
                              100));
  song.Tracks.push_back(Track("Ode bass", 1, 32, "C3:8 G2:8 C3:8 G2:4 C3:4", 80));
  return MakeMidi(song, 0);
}

std::string MakeSaintsMidi() {
  MidiSong song;
  song.MicrosPerQuarter = 333333;
  song.Tracks.push_back(Track("Saints trumpet", 0, 56,
                              "R:2 C4:2 E4:2 F4:2 G4:8 R:2 C4:2 E4:2 F4:2 G4:4 E4:4 C4:4 D4:4 C4:8",
                              104));
  song.Tracks.push_back(Track("Saints banjo", 1, 105, "R:8 C3:8 C3:8 C3:8 G2:8 C3:8", 70));
  return MakeMidi(song, 1);
}

std::string MakeJingleMidi() {
  MidiSong song;
  song.MicrosPerQuarter = 420000;
  song.Tracks.push_back(Track("Jingle", 0, 61, "C5:1 E5:1 G5:1 C6:3 G5:1 C6:4", 110));
  song.Tracks.push_back(Track("Jingle bass", 1, 58, "C3:3 G3:3 C3:5", 90));
  return MakeMidi(song, 0);
}

std::string MakeBounceAvi() {
  return MakeAvi(BounceFrames(18), 12);
}

std::string MakeOrbitAvi() {
  return MakeAvi(OrbitFrames(24), 16);
}

std::string MakeIntroAvi() {
  return MakeAvi(IntroFrames(20), 10);
}

std::string MakeSunsetBmp() {
  return MakeBmp24(LandscapePicture(320, 240));
}

std::string MakeMosaicBmp() {
  return MakeBmp8(MosaicPicture(256, 192));
}

std::string MakeFractalBmp() {
  return MakeBmpIndexed(FractalPicture(320, 240), 8);
}

std::string MakePosterBmp() {
  return MakeBmp4(PosterPicture(240, 180));
}

std::string MakeWelcomeRtf() {
  RtfDocument doc;
  doc.Heading("Welcome to the Extras disc", 36, RtfColor::Navy);
  doc.Paragraph({Plain("Thank you for choosing this disc. It holds "), Bold("programs"),
                 Plain(", "), Bold("sounds"), Plain(", "), Bold("music"), Plain(", "),
                 Bold("videos"), Plain(" and "), Bold("pictures"),
                 Plain(" that you can use straight from the disc or install on your computer.")});
  doc.Paragraph({Plain("Click a button on the left or the right to open a category. "),
                 Italic("Double-click"), Plain(" an entry in the list to use it.")});
  doc.Heading("What you will find", 28, RtfColor::DarkGreen);
  doc.Bullet({Bold("Install"), Plain(": four programs, each with notes and a preview")});
  doc.Bullet({Bold("Archives"), Plain(": fonts, icons and tools to unpack")});
  doc.Bullet({Bold("Sounds"), Plain(" and "), Bold("Music"), Plain(": chimes, fanfares, tunes")});
  doc.Bullet({Bold("Video"), Plain(": short animations")});
  RtfRun note = Plain("Please close other programs before you install anything.");
  note.Color = RtfColor::DarkRed;
  note.IsBold = true;
  doc.Paragraph({note});
  RtfRun path = Plain("bin.dat\\foyer.exe");
  path.Font = RtfFont::Mono;
  path.HalfPoints = 20;
  doc.Paragraph(
      {Plain("If this window does not open by itself, start "), path, Plain(" on the disc.")});
  RtfRun closing = Italic("The Extras team");
  closing.Color = RtfColor::Grey;
  doc.Centred({closing});
  return doc.Bytes();
}

std::string MakeNewsletterRtf() {
  RtfDocument doc;
  doc.Heading("Extras News", 44, RtfColor::Purple);
  RtfRun date = Italic("Issue 7, summer edition");
  date.Color = RtfColor::Grey;
  doc.Paragraph({date});
  doc.Heading("New on this disc", 28, RtfColor::Navy);
  doc.Paragraph({Plain("This edition brings a "), Bold("typing tutor"), Plain(", a new "),
                 Bold("atlas"), Plain(" and three songs for the "), Italic("caf\xe9"),
                 Plain(" piano.")});
  doc.Bullet({Plain("Ten typing lessons, from home row to full speed")});
  doc.Bullet({Plain("World maps with an index of places")});
  doc.Bullet({Plain("A minuet, an ode and a march")});
  doc.Heading("Letters from readers", 28, RtfColor::Navy);
  RtfRun quote = Italic("\"My children play the card games every evening.\"");
  quote.Font = RtfFont::Sans;
  doc.Paragraph({quote, Plain(" \x96 a reader from the coast")});
  RtfRun under = Plain("Write to us");
  under.IsUnderlined = true;
  doc.Paragraph({under, Plain(": your ideas make the next disc {even} better.")});
  return doc.Bytes();
}

std::string MakePriceListRtf() {
  RtfDocument doc;
  doc.Heading("Price list", 36, RtfColor::DarkGreen);
  doc.Paragraph({Plain("Prices include postage. "), Bold("Order by phone or by post.")});
  const char* rows[][2] = {{"Extras disc, single copy", "9.95"},
                           {"Extras disc, school licence", "49.00"},
                           {"Printed manual", "4.50"},
                           {"Atlas poster set", "12.00"}};
  for (const auto& row : rows) {
    RtfRun price = Bold(row[1]);
    price.Color = RtfColor::Navy;
    doc.Bullet({Plain(row[0]), Plain(" \x97 "), price});
  }
  RtfRun small = Plain("Offer valid while stocks last.");
  small.HalfPoints = 16;
  small.Color = RtfColor::Grey;
  doc.Paragraph({small});
  return doc.Bytes();
}

std::string MakeHistoryText() {
  return MakeText({
      "A short history of the Extras disc",
      "==================================",
      "",
      "The first Extras disc came out in the spring of 1996. It held forty",
      "shareware programs and a few sound files, and it was sold with a",
      "magazine. Readers liked the simple menu: one button for each kind of",
      "content, and a list that says in one line what every entry is.",
      "",
      "From the third disc on, every program came with its own notes and a",
      "preview picture, so that you can see what you install before you do.",
      "",
      "The disc you are holding is the seventh. It still starts by itself,",
      "it still needs nothing installed to run, and it still fits on one CD.",
  });
}

std::string MakeFaqText() {
  return MakeText({
      "Frequently asked questions",
      "",
      "Q: Nothing happens when I insert the disc.",
      "A: Open the disc in your file manager and start foyer.exe in the",
      "   folder bin.dat.",
      "",
      "Q: Where do installed programs go?",
      "A: Into the folder you choose. The disc suggests C:\\ the first time.",
      "",
      "Q: A song plays but I hear nothing.",
      "A: Check that your sound card has a MIDI synthesiser and that the",
      "   volume is turned up.",
      "",
      "Q: Can I copy the pictures?",
      "A: Yes, for your own use. Open the Pictures category and show one.",
  });
}

std::string MakeManualText() {
  std::vector<std::string> lines = {
      "EXTRAS DISC - USER MANUAL",
      "",
      "1. Starting",
      "   The menu opens by itself when you insert the disc. If it does not,",
      "   start bin.dat\\foyer.exe on the disc.",
      "",
      "2. Categories",
      "   Each button on the left and right opens one category. The list in",
      "   the middle shows what the category holds; a line of notes follows",
      "   each name when the entry has notes.",
      "",
      "3. Buttons",
      "   Install  copies the selected entry to a folder you choose.",
      "   Play     plays a sound, a song or a video.",
      "   Run      starts a program from the disc.",
      "   Show     shows a picture.",
      "   View     shows a document.",
      "   ReadMe   shows the notes of the selected entry.",
      "   ViewMe   shows its preview picture.",
      "",
      "4. Leaving",
      "   Click Quit, or close the window.",
      "",
  };
  for (int i = 1; i <= 40; ++i) {
    lines.push_back("   Note " + std::to_string(i) +
                    ": this line is here so that the viewer has something to scroll.");
  }
  return MakeText(lines);
}

std::string MakeFontsZip() {
  return MakeZip({{"README.TXT", MakeText({"Display fonts", "",
                                           "Copy the files in fonts\\ to your fonts "
                                           "folder."})},
                  {"fonts/", ""},
                  {"fonts/title.fnt", MakeDataBytes(2048, 11)},
                  {"fonts/serif.fnt", MakeDataBytes(3072, 12)},
                  {"fonts/mono.fnt", MakeDataBytes(1536, 13)},
                  {"samples/alphabet.txt",
                   MakeText({"The quick brown fox jumps over the lazy dog.", "0123456789"})}},
                 "Fonts from the Extras disc");
}

std::string MakeIconsZip() {
  std::vector<ZipEntry> entries = {
      {"icons/list.txt", MakeText({"Eight icons, each in 16 and 32 pixels."})}};
  for (int size : {16, 32}) {
    for (int variant = 0; variant < 8; ++variant) {
      entries.push_back(
          {"icons/" + std::to_string(size) + "/icon" + std::to_string(variant) + ".bmp",
           MakeBmp8(IconPicture(size, variant))});
    }
  }
  return MakeZip(entries);
}

std::string MakeToolsZip() {
  return MakeZip(
      {{"tools/timer.bat", MakeText({"@echo off", "echo One minute starts now.", "pause"})},
       {"tools/notes.txt", MakeText({"Handy tools.", "Run them from any folder."})},
       {"tools/docs/guide.txt", MakeText({"Guide to the tools", "",
                                          "timer.bat waits "
                                          "for a key."})},
       {"tools/docs/licence.txt", MakeText({"Free for personal use."})}});
}

std::string MakeHelloBat() {
  return MakeText({"@echo off", "echo Hello from the Extras disc!",
                   "echo This batch file was started from the Programs category.", "echo.",
                   "pause"});
}

std::string MakeListingBat() {
  return MakeText(
      {"@echo off", "echo The files beside this batch file:", "dir /b", "echo.", "pause"});
}

std::string MakeDataBytes(size_t size, unsigned seed) {
  Lcg random(seed);
  std::string out;
  out.reserve(size);
  for (size_t i = 0; i < size; ++i)
    out.push_back(static_cast<char>(random.Next() & 0xFF));
  return out;
}

}  // namespace foyer::medgen
