#!/usr/bin/env bash
# Completes quelvane command lines in a real interactive bash, with bash-completion loading the
# completion the way an installed one is loaded, typed through tmux: each Tab must leave the line
# the user expects. bash splits words at "=" by default, which a syntax check never sees.
set -euo pipefail
cd "$(dirname "$0")/../.."
if ! command -v tmux >/dev/null || [ ! -f /usr/share/bash-completion/bash_completion ]; then
  echo "needs tmux and bash-completion (scripts/install-deps.sh installs them)" >&2
  exit 1
fi

work="$(mktemp -d)"
server="quelvane-completion-$$"
pane="$server:0"
trap 'tmux -L "$server" kill-server 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/home/demos" "$work/user/completions"
touch "$work/home/scenario.json" "$work/home/theme.thm" "$work/home/trace.jsonl"
ln -s "$PWD/packaging/quelvane.bash" "$work/user/completions/quelvane"
cat >"$work/rc" <<RC
PS1='$ '
source /usr/share/bash-completion/bash_completion
cd '$work/home'
RC
tmux -L "$server" -f /dev/null new-session -d -s "$server" -x 160 -y 5 \
  env -i HOME="$work/home" TERM=screen PATH=/usr/bin:/bin \
  BASH_COMPLETION_USER_DIR="$work/user" bash --noprofile --rcfile "$work/rc" -i

# The line being edited, without the prompt.
line() { tmux -L "$server" capture-pane -p -t "$pane" | grep '^\$ ' | tail -n 1 | cut -c3-; }
# Waits up to `seconds` (ten by default) for the line to read `want`; false when it does not.
line_becomes() {
  local want="$1" seconds="${2:-10}" tries
  for ((tries = 0; tries < seconds * 20; ++tries)); do
    [ "$(line)" = "$want" ] && return 0
    sleep 0.05
  done
  return 1
}
line_becomes "" 60 || { echo "the shell did not start: $(tmux -L "$server" capture-pane -p -t "$pane")" >&2; exit 1; }
# Keys typed while the shell still sets up its terminal can be dropped, and the first completion
# loads bash-completion's files, which a busy machine takes seconds over: one completion is
# typed until it works, before the checks.
for ((warm = 0; warm < 12; ++warm)); do
  tmux -L "$server" send-keys -t "$pane" -l "quelvane --vers"
  tmux -L "$server" send-keys -t "$pane" Tab
  line_becomes "quelvane --version" 5 && break
  tmux -L "$server" send-keys -t "$pane" C-u
done
tmux -L "$server" send-keys -t "$pane" C-u
line_becomes "" 60 || { echo "the line was not cleared" >&2; exit 1; }

failures=0
# Types `typed`, presses Tab and expects `want` (trailing spaces are not compared).
expect() {
  local typed="$1" want="$2"
  tmux -L "$server" send-keys -t "$pane" -l "$typed"
  tmux -L "$server" send-keys -t "$pane" Tab
  if ! line_becomes "$want"; then
    echo "FAIL: '$typed' + Tab gives '$(line)', not '$want'" >&2
    failures=$((failures + 1))
  fi
  tmux -L "$server" send-keys -t "$pane" C-u
  line_becomes "" || { echo "the line was not cleared" >&2; exit 1; }
}

expect "quelvane --simulate=sce" "quelvane --simulate=scenario.json"
expect "quelvane --simulate sce" "quelvane --simulate scenario.json"
expect "quelvane --simulate --li" "quelvane --simulate --list"
expect "quelvane --hist" "quelvane --history"
expect "quelvane --trace=tra" "quelvane --trace=trace.jsonl"
expect "quelvane --trace=dem" "quelvane --trace=demos/"
expect "quelvane --trace tra" "quelvane --trace trace.jsonl"
expect "quelvane --theme=the" "quelvane --theme=theme.thm"
expect "quelvane --export-theme=the" "quelvane --export-theme=theme.thm"
expect "quelvane --style=Mac" "quelvane --style=MacOS"
expect "quelvane --style=Pro" "quelvane --style=Protein"
expect "quelvane --style Blu" "quelvane --style BlueGlass"
expect "quelvane --sty" "quelvane --style="
expect "quelvane --list --wa" "quelvane --list --watch"

if ((failures)); then
  echo "$failures completions failed" >&2
  exit 1
fi
echo "completion checked"
