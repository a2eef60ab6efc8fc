// Writes sound files: PCM wave files of synthesised tones and standard MIDI files of melodies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace foyer::medgen {

struct WavFormat {
  int SampleRate = 22050;
  int Channels = 1;        // 1 or 2; samples are interleaved
  int BitsPerSample = 16;  // 8 (stored unsigned) or 16
};

// A RIFF WAVE file: "fmt " chunk (PCM) and "data" chunk. Samples run -32768..32767 whatever
// the stored size.
std::string MakeWav(const std::vector<int16_t>& samples, const WavFormat& format);

// The frequency of MIDI key number key (69 is A at 440 Hz), in hundredths of a hertz.
int KeyFrequencyCentiHz(int key);

// One synthesised note; key -1 is a rest.
struct Tone {
  int Key = 69;
  int DurationMs = 250;
  int Volume = 16000;  // peak amplitude
};

enum class Timbre {
  Bell,   // struck: a quick attack and a long decay, with a bright overtone
  Brass,  // held: a fuller sound that stays at strength and ends in a short fade
};

// Mono samples of the tones one after another; a bell's ring carries over into the next tone.
std::vector<int16_t> SynthesizeTones(const std::vector<Tone>& tones, Timbre timbre, int sampleRate);
// A tone gliding from one frequency to another, faded in and out.
std::vector<int16_t> SynthesizeSweep(int fromHz, int toHz, int durationMs, int volume,
                                     int sampleRate);
// Two mono signals as one interleaved stereo signal (the shorter one padded with silence).
std::vector<int16_t> Interleave(const std::vector<int16_t>& left,
                                const std::vector<int16_t>& right);

struct MidiNote {
  uint32_t Start = 0;   // in ticks
  uint32_t Length = 0;  // in ticks
  uint8_t Key = 60;
  uint8_t Velocity = 96;
};

struct MidiTrack {
  std::string Name;
  uint8_t Channel = 0;  // 0..15
  uint8_t Program = 0;  // General MIDI instrument, 0-based
  std::vector<MidiNote> Notes;
};

struct MidiSong {
  uint16_t TicksPerQuarter = 96;
  uint32_t MicrosPerQuarter = 500000;
  uint8_t BeatsPerBar = 4;
  std::vector<MidiTrack> Tracks;
};

// Notes written as "D5:2 G4:1 R:1 F#4:3": a letter, an optional # or b, an octave (C4 is key 60),
// and a length in units; "R" is a rest. The notes follow each other from start.
std::vector<MidiNote> ParseMelody(const std::string& text, uint32_t ticksPerUnit,
                                  uint32_t start = 0, uint8_t velocity = 96);

// Format 0 puts every track's events into one track; format 1 writes a tempo track followed by
// one track per MidiTrack.
std::string MakeMidi(const MidiSong& song, int format);

// Encodes value (below 2^28) as a MIDI variable-length quantity.
void PutVarLen(std::string& out, uint32_t value);

}  // namespace foyer::medgen
