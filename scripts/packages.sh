# Installs the Debian packages named as arguments that are not installed yet.
ensure_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' \
      || missing+=("$p")
  done
  if ((${#missing[@]})); then
    echo "Installing ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
}

# Generates the named locales ("pl_PL.UTF-8") that are not there yet: Wine
# takes the code page, list separator and language from LC_ALL only when its
# locale is installed.
ensure_locales() {
  ensure_packages locales
  local missing=()
  for l in "$@"; do
    locale -a 2>/dev/null | grep -qix "${l/UTF-8/utf8}" || missing+=("$l")
  done
  if ((${#missing[@]})); then
    for l in "${missing[@]}"; do
      grep -qx "$l UTF-8" /etc/locale.gen 2>/dev/null || echo "$l UTF-8" >> /etc/locale.gen
    done
    locale-gen >/dev/null
  fi
}
