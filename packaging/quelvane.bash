# bash completion for quelvane
_quelvane() {
  local cur prev
  cur="${COMP_WORDS[COMP_CWORD]}"
  prev="${COMP_WORDS[COMP_CWORD - 1]}"
  case "$cur" in
  --simulate=* | --trace=* | --export-theme=* | --theme=*)
    local option="${cur%%=*}"
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -P "$option=" -f -- "${cur#*=}"))
    return
    ;;
  esac
  case "$prev" in
  --trace | --export-theme | --theme)
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -f -- "$cur"))
    return
    ;;
  --style)
    COMPREPLY=($(compgen -W "MacOS WinXP DeepBlue Protein BlueGlass" -- "$cur"))
    return
    ;;
  esac
  COMPREPLY=($(compgen -W "--hidden --status --list --watch --json --simulate --simulate= --trace
    --trace= --export-theme= --theme= --style= --version --help" -- "$cur"))
  [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == *= ]] && compopt -o nospace 2>/dev/null
  return 0
}
complete -F _quelvane quelvane
