#!/usr/bin/env bash
# Stops the wineserver of a private prefix, if one is running.
WINEPREFIX=$1 wineserver -k 2>/dev/null
exit 0
