#!/usr/bin/env bash
# The shipped sample device lists validate against the shipped schema, with an independent
# validator; and the schema is strict enough to refuse what the reader would misread.
set -uo pipefail
root=${1:?source dir}
schema="$root/data/DEVICELIST.xsd"
status=0
for f in "$root"/data/devices/*.xml; do
  xmllint --noout --schema "$schema" "$f" || status=1
done
refuse() {
  if printf '%s' "$2" | xmllint --noout --schema "$schema" - 2>/dev/null; then
    echo "schema accepts $1"; status=1
  fi
}
refuse "a value without name" '<device_list><color_mode><value/></color_mode></device_list>'
refuse "a lower-case token" '<device_list><color_mode><value name="full_color"/></color_mode></device_list>'
refuse "a memory size beyond 32 bits" '<device_list><memory_size>2147483648</memory_size></device_list>'
refuse "a restriction token of the wrong setting" \
  '<device_list><color_mode><value name="FULL_COLOR"><restrict_resolution>A4</restrict_resolution></value></color_mode></device_list>'
refuse "a model name over 259 characters" "<device_list><model>$(printf 'x%.0s' $(seq 260))</model></device_list>"
exit $status
