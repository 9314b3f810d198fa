#!/bin/bash
# Stands in for a native program in the script tests: a copy of this file
# named NAME starts NAME.exe beside it under Wine. Arguments, standard input
# and the exit code pass through; the Windows runtime's CR LF line ends become
# LF on standard output and standard error, so that the output compares line
# by line with the POSIX programs'.
set -o pipefail
{ wine "$0.exe" "$@" 2>&1 1>&3 3>&- | sed -u 's/\r$//' >&2; } 3>&1 | sed -u 's/\r$//'
