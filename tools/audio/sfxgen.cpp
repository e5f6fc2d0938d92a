// Synthesises the game's sound effects and writes them as 16-bit mono WAV
// files: two one-shots (the player's gun, the hit) and three loops (the two
// cuddle sounds and the aliens' gunfire).
//
// Loops are rendered into a ring, so whatever rings past the end wraps to the
// start, and the ring is then turned to begin at a quiet upward zero crossing:
// the last sample runs into the first with no step, and the loop does not
// click.
//
// usage: sfxgen OUTDIR
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/random.h"

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;
// Peak level after normalising: headroom for the mixer when the gun, a hit
// and a loop sound together.
constexpr double kPeak = 0.85;

using Wave = std::vector<double>;

int Samples(double seconds) {
    return static_cast<int>(seconds * kRate + 0.5);
}

// White noise in -1..1 from the game's generator, so every build draws the
// same numbers.
double Noise() {
    return Random() / 16383.5 - 1.0;
}

// Adds `src` into the ring `dst` starting at `at`, wrapping past the end.
void MixRing(Wave& dst, const Wave& src, int at) {
    const int n = static_cast<int>(dst.size());
    for (size_t i = 0; i < src.size(); ++i)
        dst[(at + i) % n] += src[i];
}

// One-pole low-pass with cut-off `hz`.
struct LowPass {
    double a;
    double y = 0;
    explicit LowPass(double hz) : a(1.0 - std::exp(-2.0 * kPi * hz / kRate)) {}
    double operator()(double x) { return y += a * (x - y); }
};

// Resonant two-pole band-pass (constant peak gain), for formants and hiss.
struct BandPass {
    double b0, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    BandPass(double hz, double q) {
        const double w = 2.0 * kPi * hz / kRate;
        const double alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        b0 = alpha / a0;
        a1 = -2.0 * std::cos(w) / a0;
        a2 = (1.0 - alpha) / a0;
    }
    double operator()(double x) {
        const double y = b0 * x - b0 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// Attack-decay envelope: linear rise over `attack` seconds, then exponential
// fall with time constant `decay`.
double AttackDecay(double t, double attack, double decay) {
    if (t < attack)
        return t / attack;
    return std::exp(-(t - attack) / decay);
}

// Smooth 0..1..0 window over `len` seconds (raised cosine).
double Hann(double t, double len) {
    if (t <= 0 || t >= len)
        return 0;
    return 0.5 - 0.5 * std::cos(2.0 * kPi * t / len);
}

// Fades the last `seconds` of a one-shot to silence, so it ends on zero.
void FadeTail(Wave& w, double seconds) {
    const int n = Samples(seconds);
    const int size = static_cast<int>(w.size());
    for (int i = 0; i < n && i < size; ++i) {
        w[size - 1 - i] *= 0.5 - 0.5 * std::cos(kPi * i / n);
    }
}

void Normalise(Wave& w) {
    double peak = 0;
    for (double s : w)
        peak = std::fmax(peak, std::fabs(s));
    if (peak > 0) {
        for (double& s : w)
            s *= kPeak / peak;
    }
}

// Turns a ring so that it starts at the upward zero crossing where the sound
// is quietest, judged over a few milliseconds around it.
void StartAtQuietCrossing(Wave& w) {
    const int n = static_cast<int>(w.size());
    const int half = Samples(0.004);
    int best = 0;
    double bestEnergy = 1e300;
    for (int i = 0; i < n; ++i) {
        const double before = w[(i + n - 1) % n];
        if (!(before < 0 && w[i] >= 0))
            continue;
        double energy = 0;
        for (int k = -half; k <= half; ++k) {
            const double s = w[((i + k) % n + n) % n];
            energy += s * s;
        }
        if (energy < bestEnergy) {
            bestEnergy = energy;
            best = i;
        }
    }
    Wave turned(w.begin() + best, w.end());
    turned.insert(turned.end(), w.begin(), w.begin() + best);
    w.swap(turned);
}

// The player's gun: a hard crack, a burst of shot noise and a low thump, all
// over in under half a second.
Wave PlayerGun() {
    Wave w(Samples(0.45), 0.0);
    LowPass blast(2600), body(700);
    double phase = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double n = Noise();
        const double crack = n * AttackDecay(t, 0.0005, 0.006);
        const double burst = blast(n) * AttackDecay(t, 0.002, 0.045) * 1.6;
        const double rumble = body(n) * AttackDecay(t, 0.004, 0.12) * 2.2;
        // The thump drops from 130 Hz to 45 Hz like a recoiling barrel.
        phase += 2.0 * kPi * (45.0 + 85.0 * std::exp(-t / 0.03)) / kRate;
        const double thump = std::sin(phase) * AttackDecay(t, 0.003, 0.09) * 0.9;
        w[i] = 0.5 * crack + burst + rumble + thump;
    }
    FadeTail(w, 0.08);
    return w;
}

// The hit: a round cartoon "plop", a sine that jumps up and falls back with a
// puff of air on top.
Wave Hit() {
    Wave w(Samples(0.26), 0.0);
    BandPass puff(1800, 1.2);
    double phase = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double hz = 170.0 + 650.0 * std::exp(-t / 0.025) * (1.0 - std::exp(-t / 0.004));
        phase += 2.0 * kPi * hz / kRate;
        const double body = std::sin(phase) * AttackDecay(t, 0.002, 0.07);
        const double air = puff(Noise()) * AttackDecay(t, 0.001, 0.02) * 1.5;
        w[i] = body + air;
    }
    FadeTail(w, 0.05);
    return w;
}

// A voiced "mwah" by additive synthesis: harmonics of a gliding pitch weighted
// by three formants that open from the closed lips of "m" to the "a".
Wave Mwah(double seconds, double pitch) {
    Wave w(Samples(seconds), 0.0);
    struct Formant {
        double closed;  // centre in Hz with the lips closed
        double open;    // centre in Hz on the open vowel
        double width;   // bandwidth in Hz
        double gain;
    };
    static const Formant kFormants[] = {
        {300, 850, 120, 1.0},
        {900, 1350, 160, 0.6},
        {2300, 2700, 250, 0.25},
    };
    constexpr int kHarmonics = 24;
    double phase = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double x = t / seconds;
        // Lips open over the first third, the vowel then fades.
        const double open = std::fmin(1.0, x * 3.0);
        // The pitch rises into the vowel and sighs down at the end.
        const double f0 = pitch * (1.0 + 0.35 * std::sin(kPi * std::fmin(1.0, x * 1.4)) - 0.15 * x);
        phase += 2.0 * kPi * f0 / kRate;
        double s = 0;
        for (int k = 1; k <= kHarmonics && k * f0 < kRate / 2; ++k) {
            double a = 0;
            for (const Formant& f : kFormants) {
                const double centre = f.closed + (f.open - f.closed) * open;
                const double d = (k * f0 - centre) / f.width;
                a += f.gain / (1.0 + d * d);
            }
            s += a * std::sin(k * phase) / std::sqrt(static_cast<double>(k));
        }
        w[i] = s * Hann(t, seconds) * (0.35 + 0.65 * open);
    }
    return w;
}

// The lips' smack before the kiss: a very short bright click.
Wave Smack() {
    Wave w(Samples(0.03), 0.0);
    BandPass click(3200, 2.0);
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        w[i] = click(Noise()) * AttackDecay(t, 0.0005, 0.004) * 1.2;
    }
    return w;
}

// First cuddle sound: a contented purr under a kiss. The purr's pulses divide
// the loop evenly and the noise is periodic in the loop length, so the ring
// is seamless.
Wave Cuddle() {
    const int n = Samples(1.2);
    Wave w(n, 0.0);
    Wave noise(n);
    for (double& s : noise)
        s = Noise();
    // Run the filters over the ring twice and keep the second lap: by then
    // they are in their periodic state and the seam disappears.
    LowPass rumble(180), rumble2(400);  // two poles: a purr, not a hiss
    BandPass throat(95, 1.5);
    constexpr double kPulses = 27;  // purr pulses per loop, about 22 a second
    for (int lap = 0; lap < 2; ++lap) {
        for (int i = 0; i < n; ++i) {
            const double x = static_cast<double>(i) / n;
            const double pulse = std::pow(std::sin(kPi * kPulses * x), 2.0);
            // The purr swells as the cat breathes in and out once per loop.
            const double breath = 0.65 + 0.35 * std::sin(2.0 * kPi * x);
            const double s =
                (rumble2(rumble(noise[i])) * 3.5 + throat(noise[i]) * 2.0) * pulse * breath;
            if (lap == 1)
                w[i] = s * 0.9;
        }
    }
    MixRing(w, Smack(), Samples(0.18));
    Wave kiss = Mwah(0.5, 330);
    for (double& s : kiss)
        s *= 0.6;
    MixRing(w, kiss, Samples(0.2));
    Wave echo = Mwah(0.3, 420);
    for (double& s : echo)
        s *= 0.3;
    MixRing(w, echo, Samples(0.78));
    return w;
}

double NoteHz(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// A soft ocarina voice with a lovesick vibrato.
Wave Ocarina(int midi, double seconds) {
    Wave w(Samples(seconds), 0.0);
    const double hz = NoteHz(midi);
    double phase = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double vibrato =
            1.0 + 0.012 * std::sin(2.0 * kPi * 5.5 * t) * std::fmin(1.0, t / 0.1);
        phase += 2.0 * kPi * hz * vibrato / kRate;
        const double env = std::fmin(1.0, t / 0.025) * std::fmin(1.0, (seconds - t) / 0.04);
        w[i] = (std::sin(phase) + 0.18 * std::sin(2 * phase) + 0.06 * std::sin(3 * phase)) * env;
    }
    return w;
}

// A plucked harp string (Karplus-Strong) for the accompaniment.
Wave Pluck(int midi, double seconds) {
    Wave w(Samples(seconds), 0.0);
    const int period = static_cast<int>(kRate / NoteHz(midi) + 0.5);
    // A soft excitation: low-passed noise gives a warm harp, not a wire.
    Wave ring(period);
    LowPass warm(1500);
    for (double& s : ring)
        s = warm(Noise()) * 2.0;
    for (size_t i = 0; i < w.size(); ++i) {
        const size_t k = i % period;
        const double out = ring[k];
        ring[k] = 0.498 * (ring[k] + ring[(k + 1) % period]);
        w[i] = out * std::fmin(1.0, (w.size() - i) / 400.0);
    }
    return w;
}

// Second cuddle sound: a silly romantic waltz phrase, one bar of three beats
// and another, that runs straight into itself.
Wave Serenade() {
    constexpr double kBeat = 0.24;
    const int n = Samples(kBeat * 6);
    Wave w(n, 0.0);
    struct Note {
        double beat;  // start, in beats from the loop start
        double len;   // length in beats
        int midi;     // pitch
    };
    static const Note kMelody[] = {
        {0.0, 1.5, 76}, {1.5, 0.5, 79}, {2.0, 1.0, 84}, {3.0, 1.0, 83},
        {4.0, 0.5, 79}, {4.5, 0.5, 81}, {5.0, 1.0, 79},
    };
    static const Note kHarp[] = {
        {0.0, 3.0, 48}, {1.0, 1.0, 64}, {2.0, 1.0, 67},
        {3.0, 3.0, 43}, {4.0, 1.0, 62}, {5.0, 1.0, 65},
    };
    for (const Note& note : kMelody) {
        Wave tone = Ocarina(note.midi, note.len * kBeat);
        for (double& s : tone)
            s *= 0.55;
        MixRing(w, tone, Samples(note.beat * kBeat));
    }
    for (const Note& note : kHarp) {
        Wave tone = Pluck(note.midi, note.len * kBeat + 0.1);
        for (double& s : tone)
            s *= 0.35;
        MixRing(w, tone, Samples(note.beat * kBeat));
    }
    return w;
}

// One alien blaster shot: a buzzy zap whose pitch dives.
Wave Zap(double fromHz, double toHz, double seconds) {
    Wave w(Samples(seconds), 0.0);
    LowPass soften(5000);
    double phase = 0;  // in cycles of the square, 0..1
    double sub = 0;    // in radians of the sine an octave below
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double hz = toHz + (fromHz - toHz) * std::exp(-t / (seconds * 0.3));
        phase += hz / kRate;
        phase -= std::floor(phase);
        sub += kPi * hz / kRate;
        // Square for the buzz plus a sine an octave down for body.
        const double square = phase < 0.5 ? 1.0 : -1.0;
        const double s = 0.5 * square + 0.6 * std::sin(sub);
        w[i] = soften(s) * AttackDecay(t, 0.002, seconds * 0.35) *
               std::fmin(1.0, (w.size() - i) / 200.0);
    }
    return w;
}

// The aliens' gunfire: a ragged volley of zaps from several guns.
Wave Gunfire() {
    const int n = Samples(1.25);
    Wave w(n, 0.0);
    struct Shot {
        double at;      // seconds from the loop start
        double fromHz;  // start of the dive
        double toHz;    // end of the dive
        double gain;
    };
    static const Shot kVolley[] = {
        {0.00, 2200, 260, 1.0},  {0.16, 1700, 220, 0.7}, {0.29, 2500, 300, 0.85},
        {0.52, 1900, 240, 1.0},  {0.63, 2300, 280, 0.6}, {0.84, 1600, 200, 0.9},
        {1.02, 2400, 320, 0.75},
    };
    for (const Shot& s : kVolley) {
        Wave zap = Zap(s.fromHz, s.toHz, 0.16);
        for (double& v : zap)
            v *= s.gain;
        MixRing(w, zap, Samples(s.at));
    }
    return w;
}

void Put16(FILE* f, uint32_t v) {
    std::fputc(v & 0xFF, f);
    std::fputc((v >> 8) & 0xFF, f);
}

void Put32(FILE* f, uint32_t v) {
    Put16(f, v & 0xFFFF);
    Put16(f, v >> 16);
}

bool WriteWav(const std::string& path, const Wave& w) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const uint32_t bytes = static_cast<uint32_t>(w.size() * 2);
    std::fputs("RIFF", f);
    Put32(f, 36 + bytes);
    std::fputs("WAVEfmt ", f);
    Put32(f, 16);
    Put16(f, 1);  // PCM
    Put16(f, 1);  // mono
    Put32(f, kRate);
    Put32(f, kRate * 2);  // bytes per second
    Put16(f, 2);          // bytes per frame
    Put16(f, 16);         // bits per sample
    std::fputs("data", f);
    Put32(f, bytes);
    for (double s : w) {
        long v = std::lround(s * 32767.0);
        if (v > 32767)
            v = 32767;
        if (v < -32767)
            v = -32767;
        Put16(f, static_cast<uint32_t>(v) & 0xFFFF);
    }
    const bool ok = !std::ferror(f);
    return std::fclose(f) == 0 && ok;
}

struct Sound {
    const char* name;  // member name in data/snd.dat
    Wave (*make)();
    bool loop;  // played looped by the game
};

const Sound kSounds[] = {
    {"hit.wav", Hit, false},          {"playergun.wav", PlayerGun, false},
    {"schmusen.wav", Cuddle, true},   {"schmusen_.wav", Serenade, true},
    {"shootings.wav", Gunfire, true},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    for (const Sound& sound : kSounds) {
        // Each sound draws the same noise whatever was made before it.
        SeedRandom(1);
        Wave w = sound.make();
        if (sound.loop)
            StartAtQuietCrossing(w);
        Normalise(w);
        const std::string path = std::string(argv[1]) + "/" + sound.name;
        if (!WriteWav(path, w)) {
            std::fprintf(stderr, "sfxgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
