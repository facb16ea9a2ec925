#!/usr/bin/env bash
# The schema as an independent validator sees it: every scan configuration file that the
# unit tests had the store write must validate, and every structurally wrong sample must
# be refused. Runs natively after unit_tests, which leave their files in the build tree.
set -euo pipefail
schema=${1:?schema}
written_dir=${2:?folder of written files}
refused_dir=${3:?folder of refused samples}

shopt -s nullglob globstar
written=("$written_dir"/**/*.xml)
refused=("$refused_dir"/*.xml)
if [ ${#written[@]} -eq 0 ]; then
  echo "no written files in $written_dir: unit_tests left nothing to check"
  exit 1
fi

status=0
for file in "${written[@]}"; do
  if ! report=$(xmllint --noout --schema "$schema" "$file" 2>&1); then
    printf '%s\n' "$report"
    status=1
  fi
done
for file in "${refused[@]}"; do
  if xmllint --noout --schema "$schema" "$file" >/dev/null 2>&1; then
    echo "structurally wrong sample accepted: $file"
    status=1
  fi
done
echo "${#written[@]} written files checked, ${#refused[@]} wrong samples checked"
exit $status
