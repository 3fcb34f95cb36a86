#!/bin/sh
# Stops the Velmora service: the systemd unit that "velmora /INSTALL" writes. The configurator runs
# this file through /bin/sh; systemd asks polkit whether the calling user may manage the unit.
exec systemctl stop Tarvonex.service
