#!/usr/bin/env bash
# The CUPS queue that the Windows tests print on is Wine's default printer.
source "$(dirname "$0")/lib.sh"

check "CUPS default destination is PDF" bash -c 'lpstat -d | grep -q ": PDF$"'
check "PDF queue accepts jobs" bash -c 'lpstat -a PDF | grep -q accepting'
finish
