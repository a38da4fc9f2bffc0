#!/usr/bin/env bash
# Zandor in two minutes: sets up and builds (scripts/setup.sh demo), makes a
# sample Maildir, starts a simulated Kelvo (kelvo-sim) on a pseudo-terminal
# with a few messages written on it, and points "Com 1" at it in a settings
# folder of its own (your own settings and mail are never touched). With a
# display it opens the window: press Sync. Without one it runs
# `zandor --sync --yes` twice and shows what happened. With --watch it starts
# `zandor --watch` instead and plugs the simulated Kelvo in.
#
#   scripts/demo.sh [--keep] [--no-window] [--imap] [--watch]
#     --keep       keep the demo folder (Maildir, settings, transcripts) at the end
#     --no-window  run without the window even when there is a display
#     --imap       serve the sample mail from a throwaway Dovecot on 127.0.0.1
#                  (as root) and synchronise with that IMAP account instead
#     --watch      start `zandor --watch` on a folder of the demo's own that stands
#                  for /dev/serial/by-id, then make the Kelvo's port appear there
#                  (the pseudo-terminal linked under its stable name): the watcher
#                  synchronises and prints the notification's text
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build-demo
keep=0
window=1
imap=0
watch=0
for argument in "$@"; do
  case "$argument" in
    --keep) keep=1 ;;
    --no-window) window=0 ;;
    --imap) imap=1 ;;
    --watch) watch=1 ;;
    -h|--help) sed -n '2,19p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "demo: unknown argument '$argument' (--keep, --no-window, --imap, --watch)" >&2
      exit 2 ;;
  esac
done
if [ "$imap" = 1 ] && [ "$(id -u)" -ne 0 ]; then
  echo "demo: --imap starts a Dovecot of its own, which must run as root (try sudo)" >&2
  exit 2
fi
[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || window=0
[ "$watch" = 0 ] || window=0

say() { printf '\n\033[1m== %s\033[0m\n' "$*"; }
# The status lines as they change, without the blank ones and the sizes.
progress() { grep --line-buffered -v -E '^\[[1-4]\] ?$|Message size' || true; }

say "Setting up and building what the demo runs (scripts/setup.sh demo)"
"$here/scripts/setup.sh" demo

work=$(mktemp -d -t zandor-demo.XXXXXX)
sim_pid=""
dovecot_pid=""
watch_pid=""
cleanup() {
  for pid in "$watch_pid" "$sim_pid" "$dovecot_pid"; do
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
      kill -TERM "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    fi
  done
  if [ "$keep" = 1 ]; then
    echo "demo: kept $work"
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

say "Making a sample Maildir"
python3 "$here/tools/sample-maildir.py" "$work/Maildir"

# With --imap a copy of the sample Maildir is served by imap-sandbox: a
# Dovecot of the demo's own on a free port of 127.0.0.1, which the tests use
# too. It prints its port, user, password and the Maildir it serves.
start_dovecot() {
  "$build/sim/imap-sandbox" --from "$work/Maildir" > "$work/sandbox.out" 2> "$work/sandbox.log" &
  dovecot_pid=$!
  for _ in $(seq 300); do
    if [ -s "$work/sandbox.out" ]; then
      read -r port imap_user imap_password maildir < "$work/sandbox.out"
      echo "Dovecot serves the sample mail on 127.0.0.1:$port (user $imap_user, password $imap_password)"
      return
    fi
    kill -0 "$dovecot_pid" 2> /dev/null || break
    sleep 0.1
  done
  echo "demo: Dovecot did not start" >&2
  cat "$work/sandbox.log" >&2 2> /dev/null || true
  exit 1
}
maildir=$work/Maildir
if [ "$imap" = 1 ]; then
  say "Starting a throwaway Dovecot with the sample mail"
  start_dovecot
fi

# The Kelvo: three messages written on it, waiting to be uploaded, and three it
# still holds from an earlier synchronisation on another computer.
cat > "$work/kelvo.json" <<'EOF'
{
  "format": "kelvo-data",
  "version": 1,
  "separator": 254,
  "text": "western",
  "nextDeviceId": "00000010",
  "written": [
    { "subject": "Call the printer", "to": "Ann Smith",
      "body": "Ask about the proofs for the annual report.\r\nDeadline Friday." },
    { "subject": "Einkaufsliste", "to": "Sam Reader",
      "body": "Brot, Käse, Äpfel, Milch" },
    { "subject": "Idée pour le week-end", "to": "Claire Dubois",
      "body": "Randonnée près du lac ? Départ à 8 h." }
  ],
  "held": [
    { "deviceId": "00000007", "entryId": "1700000000.M001P1.old-laptop", "kind": 1,
      "record": ["Old note", "Ann Smith", "Sam Reader", "From last year.",
                 "14-Nov-2023 9:30:00", "Inbox", "", ""] },
    { "deviceId": "00000008", "entryId": "1700000100.M002P1.old-laptop", "kind": 1,
      "record": ["Alte Nachricht", "Jürgen Weiß", "Sam Reader", "Schon gelesen.",
                 "14-Nov-2023 9:31:40", "Inbox", "", ""] },
    { "deviceId": "00000009", "entryId": "1700000200.M003P1.old-laptop", "kind": 2,
      "record": ["Re: Old note", "Sam Reader", "Ann Smith", "Thanks.",
                 "14-Nov-2023 9:33:20", "Sent", "", ""] }
  ]
}
EOF

say "Starting the simulated Kelvo"
"$build/sim/kelvo-sim" --pty --data "$work/kelvo.json" --trace "$work/kelvo.trace" \
  > "$work/kelvo.out" 2> "$work/kelvo.log" &
sim_pid=$!
for _ in $(seq 100); do
  [ -s "$work/kelvo.out" ] && break
  kill -0 "$sim_pid" 2>/dev/null || { cat "$work/kelvo.log" >&2; exit 1; }
  sleep 0.05
done
pty=$(head -n 1 "$work/kelvo.out")
[ -n "$pty" ] || { echo "demo: kelvo-sim did not start" >&2; cat "$work/kelvo.log" >&2; exit 1; }
echo "kelvo-sim plays the Kelvo on $pty"

# Settings of the demo only: "Com 1" is the pseudo-terminal, the mail folder is
# the sample, the range is the last 30 days. With --watch "Com 1" is the
# stable name the port gets when the Kelvo is plugged in, in a folder that
# stands for /dev/serial/by-id.
com1=$pty
[ "$watch" = 0 ] || com1=$work/dev/serial/by-id/usb-Kelvo_Cable_KV1-if00-port0
export XDG_CONFIG_HOME=$work/config
export XDG_STATE_HOME=$work/state
mkdir -p "$XDG_CONFIG_HOME/Zandor"
cat > "$XDG_CONFIG_HOME/Zandor/Zandor.ini" <<EOF
[Com]
Port=1

[Sync]
Days=3

[Ports]
COM1=$com1

[PluggedIn]
Sync=1

[Store]
Maildir=$work/Maildir
EOF
if [ "$imap" = 1 ]; then
  cat >> "$XDG_CONFIG_HOME/Zandor/Zandor.ini" <<EOF
Kind=imap

[Imap]
Host=127.0.0.1
Port=$port
Security=none
User=$imap_user
PasswordCommand=echo $imap_password
EOF
fi

# Waits up to a minute for the watcher to say something.
await() {
  for _ in $(seq 600); do
    grep -q "$1" "$work/watch.out" 2> /dev/null && return 0
    kill -0 "$watch_pid" 2> /dev/null || break
    sleep 0.1
  done
  echo "demo: the watcher did not say '$1'" >&2
  cat "$work/watch.out" >&2
  exit 1
}

if [ "$watch" = 1 ]; then
  say "Starting the watcher: zandor --watch"
  echo "It waits for $com1 to appear, using no CPU while it waits."
  "$build/src/zandor" --watch --timeout 30 --trace "$work/zandor.trace" > "$work/watch.out" 2>&1 &
  watch_pid=$!
  await "waiting for"
  sed 's/^/  /' "$work/watch.out"
  say "Plugging the Kelvo in: its port appears under its stable name"
  mkdir -p "$(dirname "$com1")"
  ln -s "$pty" "$com1"
  echo "ln -s $pty $com1"
  await "^Notification: "
  progress < "$work/watch.out" | sed 's/^/  /'
  echo "The desktop is told (where a notification service runs):"
  grep '^Notification: ' "$work/watch.out" | sed 's/^Notification: /  /'
  kill -TERM "$watch_pid" 2> /dev/null || true
  wait "$watch_pid" 2> /dev/null || true
  watch_pid=""
elif [ "$window" = 1 ]; then
  say "Opening the window"
  cat <<EOF
The folder tree shows the sample mail. Press Sync: the three messages
written on the Kelvo become drafts, and the mail of the last 30 days goes to
the Kelvo. Press Sync again: nothing more is sent. Under Options you see
"Com 1" mapped to $pty.
Close the window to end the demo.
EOF
  [ "$imap" = 0 ] || echo "The window asks for the IMAP account's password: it is $imap_password."
  "$build/src/zandor" --trace "$work/zandor.trace" || true
else
  say "First synchronisation: zandor --sync --yes"
  { "$build/src/zandor" --sync --yes --timeout 30 --trace "$work/zandor.trace" || true; } | progress
  say "Second synchronisation: nothing is sent twice"
  { "$build/src/zandor" --sync --yes --timeout 30 || true; } | progress
fi

kill -TERM "$sim_pid" 2>/dev/null || true
wait "$sim_pid" 2>/dev/null || true
sim_pid=""

say "What happened"
echo "Drafts made from the Kelvo's messages:"
python3 - "$maildir/.Drafts" <<'EOF'
import email, email.policy, os, sys
folder = sys.argv[1]
names = sorted(os.path.join(sub, name) for sub in ("cur", "new")
               if os.path.isdir(os.path.join(folder, sub))
               for name in os.listdir(os.path.join(folder, sub)))
for name in names:
    with open(os.path.join(folder, name), "rb") as f:
        message = email.message_from_binary_file(f, policy=email.policy.default)
    print(f"  {message['Subject']}")
if not names:
    print("  (none)")
EOF
held=$(python3 -c 'import json,sys; print(len(json.load(open(sys.argv[1]))["held"]))' \
  "$work/kelvo.json")
echo "Messages the Kelvo holds now: $held"
echo "The simulator's log:"
sed 's/^/  /' "$work/kelvo.log"
echo "The first lines of the conversation (zandor --trace):"
head -n 12 "$work/zandor.trace" 2>/dev/null | sed 's/^/  /' || true
