#!/bin/sh
# Mails the administrator that the host named by $1 no longer answers. The service starts it with the
# host name as its only argument; quillet lies one folder up, beside the programs.
dir=$(dirname "$0")/..
exec "$dir/quillet" -a admin@example.org -s "Achtung Rechner $1 nicht im Netz" \
  -b "Der Rechner $1 antwortet seit $(date '+%d.%m.%Y %H:%M') nicht mehr auf Ping."
