#!/usr/bin/env bash
# Renders the screenshot test's artwork to the PNGs the test embeds; the PNGs are
# committed, so a build needs no renderer.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../../scripts/lib.sh"
zt_ensure_packages librsvg2-bin
rsvg-convert "$here/backdrop.svg" -o "$here/backdrop.png"
rsvg-convert "$here/badge.svg" -o "$here/badge.png"
rsvg-convert "$here/icons.svg" -o "$here/icons.png"
