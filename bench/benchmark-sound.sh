# The benchmarks' input, sourced by their scripts: a music-like chord with a
# little noise, so the encoder has real work, as a WAV and as a 128 kb/s MP3.
make_benchmark_sound() { # STEM SECONDS: writes STEM.wav and STEM.mp3
  sox -n -r 44100 -c 2 -b 16 "$1.wav" synth "$2" \
    sine 220 sine 277 sine 330 pinknoise remix 1,2,4v0.1 1,3,4v0.1 gain -6 2>/dev/null
  lame --quiet -b 128 "$1.wav" "$1.mp3"
}
