// Writes sound files: PCM wave files of synthesised tones and standard MIDI files of melodies.
#include "medgen/Sound.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "medgen/Bytes.h"
#include "medgen/FixedMath.h"

namespace foyer::medgen {

namespace {

// Octave 4, C to B, in hundredths of a hertz (equal temperament, A at 440 Hz).
constexpr std::array<int, 12> kOctave4 = {26163, 27718, 29366, 31113, 32963, 34923,
                                          36999, 39200, 41530, 44000, 46616, 49388};

constexpr int64_t kOne = int64_t{1} << 30;  // envelopes are fractions of this

// A phase that advances by a fraction of a unit per sample without drifting.
class Oscillator {
 public:
  Oscillator(int centiHz, int sampleRate)
      : FStep((int64_t{centiHz} << 32) / (int64_t{100} * sampleRate)) {}
  int32_t Phase() const { return static_cast<int32_t>(FPhase >> 16 & 0xFFFF); }
  void Advance() { FPhase += FStep; }
  void SetStep(int centiHz, int sampleRate) {
    FStep = (int64_t{centiHz} << 32) / (int64_t{100} * sampleRate);
  }

 private:
  int64_t FStep;
  int64_t FPhase = 0;
};

int16_t Clamp16(int64_t value) {
  return static_cast<int16_t>(std::clamp<int64_t>(value, -32768, 32767));
}

int MsToSamples(int ms, int sampleRate) {
  return static_cast<int>(int64_t{ms} * sampleRate / 1000);
}

// Adds a bell stroke to out at start: partials 1, 2 and 3, decaying by half every 250 ms.
void AddBell(std::vector<int64_t>& out, size_t start, const Tone& tone, int sampleRate) {
  const int attack = std::max(1, MsToSamples(3, sampleRate));
  const int halfLife = MsToSamples(250, sampleRate);
  const int length = MsToSamples(tone.DurationMs + 700, sampleRate);
  // ln 2 in the envelope's fixed point: one sample's decay is close to 1 - ln 2 / halfLife.
  const int64_t decay = kOne - 744261118 / halfLife;
  Oscillator osc(KeyFrequencyCentiHz(tone.Key), sampleRate);
  int64_t envelope = kOne;
  if (out.size() < start + static_cast<size_t>(length)) out.resize(start + length, 0);
  for (int i = 0; i < length; ++i) {
    const int64_t gain = i < attack ? kOne * i / attack : envelope;
    if (i >= attack) envelope = envelope * decay >> 30;
    const int32_t p = osc.Phase();
    const int64_t wave = (int64_t{Sine(p)} * 4 + Sine(2 * p) * 2 + Sine(3 * p)) / 7;
    out[start + static_cast<size_t>(i)] += wave * tone.Volume / kSineOne * gain >> 30;
    osc.Advance();
  }
}

// Adds a held note: partials 1 to 4 in falling strength, 20 ms rise and 40 ms fade.
void AddBrass(std::vector<int64_t>& out, size_t start, const Tone& tone, int sampleRate) {
  const int length = MsToSamples(tone.DurationMs, sampleRate);
  const int rise = std::min(MsToSamples(20, sampleRate), length / 2);
  const int fade = std::min(MsToSamples(40, sampleRate), length / 2);
  Oscillator osc(KeyFrequencyCentiHz(tone.Key), sampleRate);
  if (out.size() < start + static_cast<size_t>(length)) out.resize(start + length, 0);
  for (int i = 0; i < length; ++i) {
    int64_t gain = kOne;
    if (i < rise) gain = kOne * i / rise;
    if (length - i < fade) gain = kOne * (length - i) / fade;
    const int32_t p = osc.Phase();
    const int64_t wave =
        (int64_t{Sine(p)} * 4 + Sine(2 * p) * 3 + Sine(3 * p) * 2 + Sine(4 * p)) / 10;
    out[start + static_cast<size_t>(i)] += wave * tone.Volume / kSineOne * gain >> 30;
    osc.Advance();
  }
}

struct MidiEvent {
  uint32_t Tick;
  int Order;  // note-offs before note-ons at the same tick, so a repeated key sounds again
  std::string Bytes;
};

void PutMeta(std::string& out, uint8_t type, const std::string& data) {
  out.push_back(static_cast<char>(0xFF));
  out.push_back(static_cast<char>(type));
  PutVarLen(out, SizeU32(data.size()));
  out += data;
}

std::string TempoData(const MidiSong& song) {
  std::string data;
  data.push_back(static_cast<char>(song.MicrosPerQuarter >> 16 & 0xFF));
  data.push_back(static_cast<char>(song.MicrosPerQuarter >> 8 & 0xFF));
  data.push_back(static_cast<char>(song.MicrosPerQuarter & 0xFF));
  return data;
}

std::string TimeSignatureData(const MidiSong& song) {
  // Numerator, denominator as a power of two (a quarter), clocks per click, 32nds per quarter.
  return std::string{static_cast<char>(song.BeatsPerBar), 2, 24, 8};
}

void AddTrackEvents(std::vector<MidiEvent>& events, const MidiTrack& track) {
  const char channel = static_cast<char>(track.Channel & 0x0F);
  events.push_back(
      {0, 0,
       std::string{static_cast<char>(0xC0 | channel), static_cast<char>(track.Program & 0x7F)}});
  for (const MidiNote& note : track.Notes) {
    const char key = static_cast<char>(note.Key & 0x7F);
    events.push_back({note.Start, 1,
                      std::string{static_cast<char>(0x90 | channel), key,
                                  static_cast<char>(note.Velocity & 0x7F)}});
    events.push_back(
        {note.Start + note.Length, 0, std::string{static_cast<char>(0x80 | channel), key, 64}});
  }
}

// An "MTrk" chunk: the head (meta events at tick 0), the timed events, the end of track.
std::string TrackChunk(const std::string& head, std::vector<MidiEvent> events) {
  std::stable_sort(events.begin(), events.end(), [](const MidiEvent& a, const MidiEvent& b) {
    return a.Tick != b.Tick ? a.Tick < b.Tick : a.Order < b.Order;
  });
  std::string body = head;
  uint32_t tick = 0;
  for (const MidiEvent& event : events) {
    PutVarLen(body, event.Tick - tick);
    tick = event.Tick;
    body += event.Bytes;
  }
  PutVarLen(body, 0);
  PutMeta(body, 0x2F, "");
  std::string chunk = "MTrk";
  PutBE32(chunk, SizeU32(body.size()));
  return chunk + body;
}

std::string MetaAtStart(uint8_t type, const std::string& data) {
  std::string out;
  PutVarLen(out, 0);
  PutMeta(out, type, data);
  return out;
}

}  // namespace

std::string MakeWav(const std::vector<int16_t>& samples, const WavFormat& format) {
  if (format.Channels != 1 && format.Channels != 2) throw std::invalid_argument("1 or 2 channels");
  if (format.BitsPerSample != 8 && format.BitsPerSample != 16) {
    throw std::invalid_argument("8 or 16 bits per sample");
  }
  const uint16_t blockAlign = static_cast<uint16_t>(format.Channels * format.BitsPerSample / 8);
  std::string data;
  for (int16_t sample : samples) {
    if (format.BitsPerSample == 16) {
      PutU16(data, static_cast<uint16_t>(sample));
    } else {
      data.push_back(static_cast<char>((sample >> 8) + 128));  // 8-bit samples are unsigned
    }
  }
  std::string out = "RIFF";
  PutU32(out, 0);  // patched below
  out += "WAVEfmt ";
  PutU32(out, 16);
  PutU16(out, 1);  // PCM
  PutU16(out, static_cast<uint16_t>(format.Channels));
  PutU32(out, static_cast<uint32_t>(format.SampleRate));
  PutU32(out, static_cast<uint32_t>(format.SampleRate) * blockAlign);
  PutU16(out, blockAlign);
  PutU16(out, static_cast<uint16_t>(format.BitsPerSample));
  out += "data";
  PutU32(out, SizeU32(data.size()));
  out += data;
  if (data.size() % 2 != 0) out.push_back('\0');  // RIFF chunks are padded to even sizes
  PatchU32(out, 4, SizeU32(out.size() - 8));
  return out;
}

int KeyFrequencyCentiHz(int key) {
  const int fromC4 = key - 60;
  const int octave = (fromC4 >= 0 ? fromC4 : fromC4 - 11) / 12;
  const int base = kOctave4[static_cast<size_t>(fromC4 - octave * 12)];
  return octave >= 0 ? base << octave : base >> -octave;
}

std::vector<int16_t> SynthesizeTones(const std::vector<Tone>& tones, Timbre timbre,
                                     int sampleRate) {
  std::vector<int64_t> mix;
  size_t start = 0;
  for (const Tone& tone : tones) {
    if (tone.Key >= 0) {
      if (timbre == Timbre::Bell) {
        AddBell(mix, start, tone, sampleRate);
      } else {
        AddBrass(mix, start, tone, sampleRate);
      }
    }
    start += static_cast<size_t>(MsToSamples(tone.DurationMs, sampleRate));
  }
  if (mix.size() < start) mix.resize(start, 0);
  std::vector<int16_t> out;
  out.reserve(mix.size());
  for (int64_t value : mix)
    out.push_back(Clamp16(value));
  return out;
}

std::vector<int16_t> SynthesizeSweep(int fromHz, int toHz, int durationMs, int volume,
                                     int sampleRate) {
  const int length = MsToSamples(durationMs, sampleRate);
  const int fade = std::min(MsToSamples(30, sampleRate), length / 2);
  Oscillator osc(fromHz * 100, sampleRate);
  std::vector<int16_t> out;
  out.reserve(static_cast<size_t>(length));
  for (int i = 0; i < length; ++i) {
    osc.SetStep(static_cast<int>((int64_t{fromHz} * (length - i) + int64_t{toHz} * i) * 100 /
                                 std::max(length, 1)),
                sampleRate);
    int64_t gain = kOne;
    if (i < fade) gain = kOne * i / fade;
    if (length - i < fade) gain = kOne * (length - i) / fade;
    out.push_back(Clamp16(int64_t{Sine(osc.Phase())} * volume / kSineOne * gain >> 30));
    osc.Advance();
  }
  return out;
}

std::vector<int16_t> Interleave(const std::vector<int16_t>& left,
                                const std::vector<int16_t>& right) {
  const size_t length = std::max(left.size(), right.size());
  std::vector<int16_t> out;
  out.reserve(length * 2);
  for (size_t i = 0; i < length; ++i) {
    out.push_back(i < left.size() ? left[i] : 0);
    out.push_back(i < right.size() ? right[i] : 0);
  }
  return out;
}

std::vector<MidiNote> ParseMelody(const std::string& text, uint32_t ticksPerUnit, uint32_t start,
                                  uint8_t velocity) {
  static constexpr int kSemitones[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  std::vector<MidiNote> notes;
  uint32_t tick = start;
  size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] == ' ') {
      ++pos;
      continue;
    }
    const size_t end = std::min(text.find(' ', pos), text.size());
    const std::string token = text.substr(pos, end - pos);
    pos = end;
    const size_t colon = token.find(':');
    if (colon == std::string::npos || colon + 1 == token.size()) {
      throw std::invalid_argument("a melody note needs a length: " + token);
    }
    const uint32_t units = static_cast<uint32_t>(std::stoul(token.substr(colon + 1)));
    const std::string pitch = token.substr(0, colon);
    if (pitch != "R") {
      if (pitch.empty() || pitch[0] < 'A' || pitch[0] > 'G') {
        throw std::invalid_argument("not a note name: " + token);
      }
      int semitone = kSemitones[pitch[0] - 'A'];
      size_t i = 1;
      if (i < pitch.size() && (pitch[i] == '#' || pitch[i] == 'b')) {
        semitone += pitch[i] == '#' ? 1 : -1;
        ++i;
      }
      if (i + 1 != pitch.size() || pitch[i] < '0' || pitch[i] > '8') {
        throw std::invalid_argument("a note needs one octave digit: " + token);
      }
      const int key = (pitch[i] - '0' + 1) * 12 + semitone;
      // Slightly detached, as played: the key is released a little before the next note.
      const uint32_t length = units * ticksPerUnit;
      notes.push_back({tick, length - length / 8, static_cast<uint8_t>(key), velocity});
    }
    tick += units * ticksPerUnit;
  }
  return notes;
}

std::string MakeMidi(const MidiSong& song, int format) {
  if (format != 0 && format != 1) throw std::invalid_argument("MIDI format 0 or 1");
  const std::string tempoHead =
      MetaAtStart(0x51, TempoData(song)) + MetaAtStart(0x58, TimeSignatureData(song));
  std::vector<std::string> chunks;
  if (format == 0) {
    std::vector<MidiEvent> events;
    for (const MidiTrack& track : song.Tracks)
      AddTrackEvents(events, track);
    const std::string name = song.Tracks.empty() ? std::string() : song.Tracks.front().Name;
    chunks.push_back(TrackChunk(MetaAtStart(0x03, name) + tempoHead, std::move(events)));
  } else {
    chunks.push_back(TrackChunk(tempoHead, {}));
    for (const MidiTrack& track : song.Tracks) {
      std::vector<MidiEvent> events;
      AddTrackEvents(events, track);
      chunks.push_back(TrackChunk(MetaAtStart(0x03, track.Name), std::move(events)));
    }
  }
  std::string out = "MThd";
  PutBE32(out, 6);
  PutBE16(out, static_cast<uint16_t>(format));
  PutBE16(out, static_cast<uint16_t>(chunks.size()));
  PutBE16(out, song.TicksPerQuarter);
  for (const std::string& chunk : chunks)
    out += chunk;
  return out;
}

void PutVarLen(std::string& out, uint32_t value) {
  if (value >= (1u << 28)) throw std::invalid_argument("a MIDI length of 2^28 or more");
  char bytes[4];
  int count = 0;
  do {
    bytes[count++] = static_cast<char>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (count > 1)
    out.push_back(static_cast<char>(bytes[--count] | 0x80));
  out.push_back(bytes[0]);
}

}  // namespace foyer::medgen
