# bash completion for quelvane

# Files and folders for a value; `prefix` ("--opt=") goes before each.
_quelvane_files() {
  local prefix="$1" value="$2" file
  if [[ -z $prefix ]]; then
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -f -- "$value")
    return
  fi
  # Readline would take the option for part of the file name: folders get their slash here.
  compopt -o nospace 2>/dev/null
  COMPREPLY=()
  while IFS= read -r file; do
    if [[ -d $file ]]; then COMPREPLY+=("$prefix$file/"); else COMPREPLY+=("$prefix$file "); fi
  done < <(compgen -f -- "$value")
}

_quelvane() {
  local cur="${COMP_WORDS[COMP_CWORD]}" prev="${COMP_WORDS[COMP_CWORD - 1]}"
  local styles="MacOS WinXP DeepBlue Protein BlueGlass" option="" value="" prefix=""
  # "--opt=VALUE" is three words when "=" breaks words (bash's default): readline then completes
  # only what follows "=". One word where "=" does not break them.
  if [[ $cur == --*=* ]]; then
    option="${cur%%=*}" value="${cur#*=}" prefix="$option="
  elif [[ $cur == = && $prev == --* ]]; then
    option="$prev"
  elif [[ $prev == = && $COMP_CWORD -ge 2 ]]; then
    option="${COMP_WORDS[COMP_CWORD - 2]}" value="$cur"
  fi
  if [[ -n $option ]]; then
    case "$option" in
    --simulate | --trace | --export-theme | --theme | --plot) _quelvane_files "$prefix" "$value" ;;
    --style) mapfile -t COMPREPLY < <(compgen -P "$prefix" -W "$styles" -- "$value") ;;
    esac
    return 0
  fi
  case "$prev" in
  --trace | --export-theme | --theme | --plot)
    _quelvane_files "" "$cur"
    return 0
    ;;
  --simulate)
    # --simulate alone runs the built-in scenario: a word starting with "-" is the next option.
    if [[ $cur != -* ]]; then
      _quelvane_files "" "$cur"
      return 0
    fi
    ;;
  --style)
    mapfile -t COMPREPLY < <(compgen -W "$styles" -- "$cur")
    return 0
    ;;
  esac
  mapfile -t COMPREPLY < <(compgen -W "--hidden --status --history --list --watch --json --simulate
    --simulate= --trace --trace= --plot= --export-theme= --theme= --style= --version --help" -- "$cur")
  [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == *= ]] && compopt -o nospace 2>/dev/null
  return 0
}
complete -F _quelvane quelvane
