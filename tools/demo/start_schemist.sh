#!/usr/bin/env bash
# Starts the database creator on a demo family folder under build/demo: drive C: is
# build/demo/drive_c, the family root C:\ZVOv12\ with its ROOTDIRS.INI, and the database
# folder C:\ZVOv12\Databases\ with the table scripts of the eleven family databases.
# Point the window at C:\ZVOv12\Databases\ (the browse button starts there) and press Action.
set -euo pipefail
cd "$(dirname "$0")/../.."
exe=build/dbcreator/Schemist
demo=$PWD/build/demo
root=$demo/drive_c/ZVOv12

mkdir -p "$root/INIFILES" "$root/Databases/CreateDBTables"
cp tools/demo/CreateDBTables/* "$root/Databases/CreateDBTables/"
printf '[ROOTDIRS]\r\nZVORootDir=C:\\ZVOv12\\\r\nZVOIniFilesDir=C:\\ZVOv12\\INIFILES\\\r\n' \
  > "$root/INIFILES/ROOTDIRS.INI"
printf '[Drives]\r\nC=%s\r\nZ=/\r\n' "$demo/drive_c" > "$(dirname "$exe")/ZVODrives.ini"

# The program finds ROOTDIRS.INI in its current folder.
cd "$root/INIFILES"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$OLDPWD/$exe"
fi
echo "No display here: starting Schemist under Xvfb for 5 seconds to show that it comes up."
set +e
timeout 5 xvfb-run -a "$OLDPWD/$exe"
rc=$?
set -e
[ $rc -eq 124 ] && { echo "Schemist ran until stopped; on a desktop it stays open."; exit 0; }
exit $rc
