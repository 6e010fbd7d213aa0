#!/usr/bin/env bash
# Installs the browser tests' node packages exactly as tests/browser/package-lock.json names them,
# when they are not installed yet. No browser is downloaded: the tests use Debian's Chromium.
set -eu
dir=$(cd "$(dirname "$0")/../tests/browser" && pwd)
[ -d "$dir/node_modules/playwright-core" ] && exit 0
echo "setup: npm ci in tests/browser"
cd "$dir"
PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund
