#!/usr/bin/env bash
# The main job on a fresh Debian 12 machine: set up, build, and start the program.
# The installer window is not built yet; until it is, this starts the database creator
# `Schemist` on a demo family folder (a database folder with table scripts for the eleven
# family databases), in a real window (under Xvfb when there is no display).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build

if [ ! -x build/dbcreator/Schemist ]; then
  echo "Nothing to start yet: neither the installer nor the database creator is built."
  exit 0
fi
exec tools/demo/start_schemist.sh "$@"
