# Sourced by the benchmark scripts: the spoken text they make their files
# from, and the CPU time of a command against which peers are compared.

# Writes a few sentences of synthetic speech as WAV to $1.
speech_wav() {
  local text="The typist listens to the recording and writes down every word. "
  text="$text$text$text$text Numbers such as 1234 and 56.7 percent are spoken slowly."
  espeak-ng -w "$1" "$text" 2>/dev/null
}

# CPU seconds (user + sys, every thread) of a command, summed over $reps runs.
cpu() {
  local total=0 t
  for _ in $(seq "$reps"); do
    /usr/bin/time -o time.txt -f "%U %S" "$@" >/dev/null 2>&1
    t=$(tail -n 1 time.txt | awk '{print $1 + $2}')
    total=$(echo "$total + $t" | bc -l)
  done
  echo "$total"
}
