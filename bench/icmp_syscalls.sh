#!/usr/bin/env bash
# System calls per ping at steady state, beside bench/icmp_ping_bench's times: TNxIcmpClient and the
# floors (one socket for all pings, and a socket per ping) on the raw and the datagram socket, and
# iputils ping as root and as the user nobody. Each is traced twice with strace, the second time with
# 1000 more pings, and the difference is divided by 1000, which takes out the start-up. Needs root; the
# pings stay in network namespaces of their own with only loopback.
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "icmp_syscalls.sh: needs root" >&2; exit 1; }
root=$(cd "$(dirname "$0")/.." && pwd)
bench=$root/build/bin/icmp_ping_bench
[ -x "$bench" ] || "$root/scripts/build.sh" release
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The system calls a command makes, all its processes together.
calls() {
  strace -f -c -U calls,name -o "$work/summary" "$@" >/dev/null 2>&1
  awk '$2 == "total" {print $1}' "$work/summary"
}

# The benchmark runs 1000 pings per repetition: one repetition against two.
per_ping_bench() {
  local one two
  one=$(calls "$bench" --benchmark_filter="$1" --benchmark_repetitions=1)
  two=$(calls "$bench" --benchmark_filter="$1" --benchmark_repetitions=2)
  echo "$(( (two - one) / 1000 )).$(( (two - one) % 1000 / 100 ))"
}

# iputils ping in a namespace where the groups from $2 up may open datagram sockets (1: not root).
per_ping_iputils() {
  local user=$1 groups=$2 interval=$3 one two
  local ping="ip link set lo up; echo '$groups 2147483647' > /proc/sys/net/ipv4/ping_group_range; exec $user ping -n -q -i $interval -c"
  one=$(calls unshare --net sh -c "$ping 200 127.0.0.1")
  two=$(calls unshare --net sh -c "$ping 1200 127.0.0.1")
  echo "$(( (two - one) / 1000 )).$(( (two - one) % 1000 / 100 ))"
}

printf '%-40s %s\n' "pinger" "system calls per ping"
printf '%-40s %s\n' "TNxIcmpClient, raw socket" "$(per_ping_bench '^TNxIcmpClient raw')"
printf '%-40s %s\n' "TNxIcmpClient, datagram socket" "$(per_ping_bench '^TNxIcmpClient datagram')"
printf '%-40s %s\n' "floor, one raw socket" "$(per_ping_bench '^floor: one socket, raw')"
printf '%-40s %s\n' "floor, one datagram socket" "$(per_ping_bench '^floor: one socket, datagram')"
printf '%-40s %s\n' "floor, a raw socket per ping" "$(per_ping_bench '^floor: a socket per ping, raw')"
printf '%-40s %s\n' "floor, a datagram socket per ping" "$(per_ping_bench '^floor: a socket per ping, datagram')"
printf '%-40s %s\n' "iputils ping as root (raw socket)" "$(per_ping_iputils '' 1 0)"
printf '%-40s %s\n' "iputils ping as nobody (datagram socket)" \
  "$(per_ping_iputils 'setpriv --reuid=65534 --regid=65534 --clear-groups --' 0 0.002)"
