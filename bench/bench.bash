# Helpers of the benchmark scripts: medians and ratios of the figures the programs print, one
# "NAME SECONDS ..." line per start.

# The numbers that follow NAME at the start of the file's lines, in file order.
figures_of() {
  awk -v name="$2" 'index($0, name " ") == 1 { print substr($0, length(name) + 2) + 0 }' "$1"
}

median() {
  sort -n | awk '{ v[NR] = $1 } END { if (NR) printf "%.3f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

median_of() { figures_of "$1" "$2" | median; }

# The median of A / B taken start by start (the k-th A with the k-th B), so that each ratio
# compares starts made close together on a machine whose load changes.
median_ratio() {
  paste <(figures_of "$1" "$2") <(figures_of "$1" "$3") | awk '$2 > 0 { print $1 / $2 }' | median
}

# ROUNDS rounds of one start of each MODE (the script's `start MODE` prints the program's
# lines): every line goes to FILE, the timed ones also to the screen. Every other round takes
# the modes in reverse order, so that no mode always runs first or after the same other one.
# Fails with the output of a start that failed.
run_rounds() {  # FILE ROUNDS MODE...
  local file=$1 rounds=$2 round mode out order
  shift 2
  : > "$file"
  for round in $(seq 1 "$rounds"); do
    order=("$@")
    [ $((round % 2)) -eq 1 ] || order=($(printf '%s\n' "$@" | tac))
    for mode in "${order[@]}"; do
      out=$(start "$mode") || { echo "$out"; return 1; }
      echo "$out" >> "$file"
      [ "$mode" = parts ] || echo "  round $round: $out"
    done
  done
}
