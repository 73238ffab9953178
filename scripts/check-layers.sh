#!/bin/bash
# Fails when a file includes a header from a layer above its own. Includes
# point down only: app -> shell -> vault, net, jobs -> common; helper (the
# Gleanix library) stands on common alone.
ROOT=$(cd "${1:-$(dirname "$0")/..}" && pwd)
cd "$ROOT" || exit 2
declare -A forbidden=(
  [common]="vault net jobs shell app helper"
  [vault]="shell app helper"
  [net]="shell app helper"
  [jobs]="shell app helper"
  [shell]="app helper"
  [helper]="vault net jobs shell app"
)
status=0
for dir in "${!forbidden[@]}"; do
  for above in ${forbidden[$dir]}; do
    hits=$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]+\"$above/" "$dir" --include='*.h' --include='*.cpp' 2>/dev/null)
    if [ -n "$hits" ]; then
      echo "$dir/ must not include $above/:"
      echo "$hits"
      status=1
    fi
  done
done
[ $status -eq 0 ] && echo "includes point down"
exit $status
