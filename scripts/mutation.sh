#!/usr/bin/env bash
# Mutation run (scripts/mutation.py --help): low priority, as it shares the
# machine with builds and other runs for a long while.
exec nice -n 10 python3 "$(dirname "$0")/mutation.py" "$@"
