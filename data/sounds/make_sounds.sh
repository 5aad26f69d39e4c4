#!/bin/sh
# Generates the spoken cues of Tessaro beside this script: the English ones
# into sounds/system/, the Dutch ones into sounds/nl/ and the German ones into
# sounds/de/, under the English file names. Needs espeak-ng and sox. The
# generated WAV files are committed, so a build does not need a speech engine;
# run this only to change the recordings.
#
#   make_sounds.sh            all three languages
#   make_sounds.sh nl de      only the languages named (en, nl, de)
#
# All English cues lie in one folder "system": the program asks for
# "sounds\system\", "sounds\System\" and "Sounds\System\", and folder names
# are matched without regard to case. A language's folder stands beside it;
# a cue that it lacks is played in English.
#
# Format: 16-bit mono PCM, 22050 Hz.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM

speed=145          # words per minute: calm, easy to follow
pitch=55

# A short soft two-tone chime, played before the link and system cues.
sox -n -r 22050 -c 1 -b 16 "$tmp/chime1.wav" synth 0.09 sine 880 fade q 0.005 0.09 0.06 vol 0.25
sox -n -r 22050 -c 1 -b 16 "$tmp/chime2.wav" synth 0.14 sine 1320 fade q 0.005 0.14 0.12 vol 0.25
sox -n -r 22050 -c 1 -b 16 "$tmp/gap.wav" trim 0 0.06
sox "$tmp/chime1.wav" "$tmp/chime2.wav" "$tmp/gap.wav" "$tmp/chime.wav"

# say <file name> <chime: yes|no> <text>
say() {
  name=$1; chime=$2; text=$3
  espeak-ng -v "$voice" -s "$speed" -p "$pitch" -w "$tmp/raw.wav" "$text"
  # Resample, trim the silence around the words, normalise to -1 dBFS and
  # add a soft 20 ms fade in and out.
  sox "$tmp/raw.wav" -r 22050 -c 1 -b 16 "$tmp/voice.wav" \
    silence 1 0.01 0.5% reverse silence 1 0.01 0.5% reverse \
    norm -1 fade t 0.02 reverse fade t 0.02 reverse pad 0.03 0.05
  if [ "$chime" = yes ]; then
    sox "$tmp/chime.wav" "$tmp/voice.wav" -r 22050 -c 1 -b 16 -e signed-integer "$out/$name"
  else
    sox "$tmp/voice.wav" -r 22050 -c 1 -b 16 -e signed-integer "$out/$name"
  fi
}

english() {
  voice="en-us+f3"   # a clear female variant
  out="$here/system"
  mkdir -p "$out"
  say "systems online.wav"                 yes "Systems online."
  say "datalink offline.wav"               yes "Data link offline."
  say "input algorithm not accepted.wav"   no  "Input algorithm not accepted."
  say "access denied.wav"                  no  "Access denied."
  say "button. upload.wav"                 no  "Button. Upload."
  say "button. run.wav"                    no  "Button. Run."
  say "button. upload and run.wav"         no  "Button. Upload and run."
  say "please acknowledge.wav"             no  "Please acknowledge."
  say "incoming subspace signal.wav"       yes "Incoming subspace signal."
  say "standby.wav"                        yes "Standby."
  say "link established.wav"               yes "Link established."
  say "transfer complete.wav"              yes "Transfer complete."
  say "working.wav"                        no  "Working."
  say "program complete.wav"               yes "Program complete."
  for n in 1 2 3 4 5 6; do
    say "$n.wav" no "$n"
  done
}

dutch() {
  voice="nl+f3"
  out="$here/nl"
  mkdir -p "$out"
  say "systems online.wav"                 yes "Systemen online."
  say "datalink offline.wav"               yes "Dataverbinding verbroken."
  say "input algorithm not accepted.wav"   no  "Invoeralgoritme niet geaccepteerd."
  say "access denied.wav"                  no  "Toegang geweigerd."
  say "button. upload.wav"                 no  "Knop. Uploaden."
  say "button. run.wav"                    no  "Knop. Starten."
  say "button. upload and run.wav"         no  "Knop. Uploaden en starten."
  say "please acknowledge.wav"             no  "Graag bevestigen."
  say "incoming subspace signal.wav"       yes "Inkomend subruimtesignaal."
  say "standby.wav"                        yes "Paraat."
  say "link established.wav"               yes "Verbinding gemaakt."
  say "transfer complete.wav"              yes "Overdracht voltooid."
  say "working.wav"                        no  "Bezig."
  say "program complete.wav"               yes "Programma voltooid."
  for n in 1 2 3 4 5 6; do
    say "$n.wav" no "$n"
  done
}

german() {
  voice="de+f3"
  out="$here/de"
  mkdir -p "$out"
  say "systems online.wav"                 yes "Systeme online."
  say "datalink offline.wav"               yes "Datenverbindung getrennt."
  say "input algorithm not accepted.wav"   no  "Eingabealgorithmus nicht akzeptiert."
  say "access denied.wav"                  no  "Zugriff verweigert."
  say "button. upload.wav"                 no  "Taste. Hochladen."
  say "button. run.wav"                    no  "Taste. Starten."
  say "button. upload and run.wav"         no  "Taste. Hochladen und starten."
  say "please acknowledge.wav"             no  "Bitte bestätigen."
  say "incoming subspace signal.wav"       yes "Eingehendes Subraumsignal."
  say "standby.wav"                        yes "Bereitschaft."
  say "link established.wav"               yes "Verbindung hergestellt."
  say "transfer complete.wav"              yes "Übertragung abgeschlossen."
  say "working.wav"                        no  "In Arbeit."
  say "program complete.wav"               yes "Programm beendet."
  for n in 1 2 3 4 5 6; do
    say "$n.wav" no "$n"
  done
}

[ $# -gt 0 ] || set -- en nl de
for lge in "$@"; do
  case $lge in
    en) english ;;
    nl) dutch ;;
    de) german ;;
    *) echo "unknown language: $lge (en, nl, de)" >&2; exit 2 ;;
  esac
done
