#!/bin/sh
# Mails the administrator that the host named by $1 answers again. The service starts it with the host
# name as its only argument; quillet lies one folder up, beside the programs.
dir=$(dirname "$0")/..
exec "$dir/quillet" -a admin@example.org -s "Rechner $1 wieder im Netz" \
  -b "Der Rechner $1 antwortet seit $(date '+%d.%m.%Y %H:%M') wieder auf Ping."
