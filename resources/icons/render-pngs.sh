#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Renders the PNG sizes of the application icon from kuvell.svg (ImageMagick).
# Run after editing the SVG and commit the results: the build does not render.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
  convert -background none -density $((96 * size / 64)) kuvell.svg \
    -resize "${size}x${size}" "png32:kuvell-${size}.png"
done
