#!/usr/bin/env bash
# Publishing over SFTP beside OpenSSH's own batch upload of the same files:
# the sample shop with extra categories (one listing page each) is
# generated, then published to a local sshd by `quillmart publish` and sent
# by `sftp -b` (one `put` a file) into another folder of the same server.
# Prints the median wall-clock and processor time of each and the ratio.
#
#   sudo bash bench/bench_publish.sh PROGRAM [extra pages, default 1000] [runs, default 5]
#
# Needs root (sshd logs in the account quillmart-sftp made by
# scripts/bootstrap.sh) and OpenSSH's server and client. Both log in with a
# key made for the run; the server's host key is put in a known hosts file
# of the run, so nothing of the user's own ~/.ssh is used or changed.
set -euo pipefail
program="$(realpath "${1:?usage: bench_publish.sh PROGRAM [extra pages] [runs]}")"
pages="${2:-1000}"
runs="${3:-5}"
[ "$(id -u)" -eq 0 ] || { echo "run as root: sshd must log in quillmart-sftp" >&2; exit 2; }
here="$(cd "$(dirname "$0")/.." && pwd)"

work="$(mktemp -d)"
chmod 755 "$work"
sshd_pid=""
cleanup() {
  [ -z "$sshd_pid" ] || kill "$sshd_pid" 2>/dev/null || true
  echo 'quillmart-sftp:!' | chpasswd -e
  rm -rf "$work"
}
trap cleanup EXIT

# The shop: the sample shop and one more category a page, one item each.
cp -r "$here/data/SampleShop" "$work/Shop"
mv "$work/Shop/SampleShop.caa" "$work/Shop/Shop.caa"
for i in $(seq 1 "$pages"); do
  printf 'Extra %d\r\n' "$i" >>"$work/Shop/Shop.caa"
  printf 'X%d^Extra item %d^%d.50^^^^1^%d^^\r\n' "$i" "$i" "$i" "$i" >"$work/Shop/Extra $i.pro"
done
HOME="$work/home" "$program" generate "$work/Shop" >/dev/null

# The server, its host key known to both clients, and a client key. sshd
# lets no one into a locked account, keys or not: a random password
# unlocks it for the run.
echo "quillmart-sftp:$(head -c 18 /dev/urandom | base64)" | chpasswd
mkdir -p "$work/home/.ssh" "$work/root" /run/sshd
chown quillmart-sftp "$work/root"
ssh-keygen -q -t ed25519 -N "" -f "$work/host_key"
ssh-keygen -q -t ed25519 -N "" -f "$work/home/.ssh/id_ed25519"
cp "$work/home/.ssh/id_ed25519.pub" "$work/authorized_keys"
port="$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
cat >"$work/sshd_config" <<CONFIG
Port $port
ListenAddress 127.0.0.1
HostKey $work/host_key
PidFile $work/sshd.pid
AuthorizedKeysFile $work/authorized_keys
StrictModes no
UsePAM no
AllowUsers quillmart-sftp
Subsystem sftp internal-sftp
ForceCommand internal-sftp
CONFIG
/usr/sbin/sshd -D -e -f "$work/sshd_config" 2>"$work/sshd.log" &
sshd_pid=$!
for _ in $(seq 50); do (echo >"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break; sleep 0.1; done
echo "[127.0.0.1]:$port $(cut -d' ' -f1,2 "$work/host_key.pub")" >"$work/home/.ssh/known_hosts"

# The batch: the files the program sent, each put once, into "Batch".
HOME="$work/home" "$program" publish "$work/Shop" --server "sftp://127.0.0.1:$port$work/root" \
  --user quillmart-sftp >/dev/null
files=("$work/root/Shop"/*)
{
  echo "-mkdir $work/root/Batch"
  for f in "${files[@]}"; do
    name="$(basename "$f")"
    printf 'put "%s" "%s"\n' "$work/Shop/$name" "$work/root/Batch/$name"
  done
} >"$work/batch"

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# Appends the command's wall-clock and processor milliseconds to the arrays.
timed() {
  local -n wall_ms="$1" cpu_ms="$2"
  shift 2
  local times
  times="$( { TIMEFORMAT='%R %U %S'; time "$@" >/dev/null 2>&1; } 2>&1 )"
  read -r real user sys <<<"$times"
  wall_ms+=("$(awk -v t="$real" 'BEGIN { printf "%d", t * 1000 }')")
  cpu_ms+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%d", (u + s) * 1000 }')")
}
# Each run's exit code is kept: a failed publish would be quick, and wrong.
publish() {
  HOME="$work/home" "$program" publish "$work/Shop" --server "sftp://127.0.0.1:$port$work/root" \
    --user quillmart-sftp
  echo "$?" >>"$work/exit-codes"
}
batch() {
  HOME="$work/home" sftp -q -b "$work/batch" -P "$port" \
    -o UserKnownHostsFile="$work/home/.ssh/known_hosts" -i "$work/home/.ssh/id_ed25519" \
    quillmart-sftp@127.0.0.1
}
pw=() pc=() bw=() bc=()
for _ in $(seq "$runs"); do
  timed pw pc publish
  timed bw bc batch
done
if grep -qv '^0$' "$work/exit-codes"; then echo "a publish failed" >&2; exit 1; fi
cmp -s "$work/root/Shop/data1.js" "$work/root/Batch/data1.js" || { echo "the uploads differ" >&2; exit 1; }
p_wall="$(printf '%s\n' "${pw[@]}" | median)" p_cpu="$(printf '%s\n' "${pc[@]}" | median)"
b_wall="$(printf '%s\n' "${bw[@]}" | median)" b_cpu="$(printf '%s\n' "${bc[@]}" | median)"
echo "files: ${#files[@]}, runs: $runs (medians, wall clock (processor))"
echo "quillmart publish: $p_wall ms ($p_cpu ms)"
echo "sftp -b:           $b_wall ms ($b_cpu ms)"
awk -v p="$p_wall" -v b="$b_wall" 'BEGIN { printf "ratio (wall clock): %.2f x\n", p / b }'
