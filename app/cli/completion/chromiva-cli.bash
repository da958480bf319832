# bash completion for chromiva-cli. The commands and options come from the program's own help,
# so they never fall behind it. Works with or without the bash-completion package.
_chromiva_cli_files() {
  if declare -F _filedir >/dev/null; then
    _filedir "$@"
  else
    local IFS=$'\n'
    COMPREPLY=($(compgen "${1:--f}" -- "${COMP_WORDS[COMP_CWORD]}"))
  fi
}

_chromiva_cli_commands() {
  "$1" --help 2>/dev/null | sed -n 's/^  \([a-z][a-z-]*\).*/\1/p' | sort -u
}

_chromiva_cli() {
  local program=${COMP_WORDS[0]} cur=${COMP_WORDS[COMP_CWORD]}
  local prev=${COMP_WORDS[COMP_CWORD - 1]}
  COMPREPLY=()
  # The global option, before or after the command.
  if [[ $prev == --language ]]; then
    COMPREPLY=($(compgen -W "ja en" -- "$cur"))
    return
  fi
  local at=1
  [[ ${COMP_WORDS[1]} == --language ]] && at=3
  if ((COMP_CWORD == at)); then
    COMPREPLY=($(compgen -W "help $(_chromiva_cli_commands "$program") --help --version --language" -- "$cur"))
    return
  fi
  local command=${COMP_WORDS[at]}
  if [[ $command == help ]]; then
    ((COMP_CWORD == at + 1)) && COMPREPLY=($(compgen -W "$(_chromiva_cli_commands "$program")" -- "$cur"))
    return
  fi
  local help options line value=
  help=$("$program" help "$command" 2>/dev/null) || return
  # The option lines read "  --option [VALUE]  what it does"; VALUE says what may follow.
  options=$(sed -n 's/^  \(-[^ ]*\( [^ ]*\)\{0,1\}\)  .*/\1/p' <<<"$help")
  while read -r line; do
    if [[ $line == "$prev "* ]]; then
      value=${line#"$prev "}
      break
    fi
  done <<<"$options"
  case $value in
    "") ;;
    DIR) _chromiva_cli_files -d; return ;;
    *FILE* | OUT* | JOURNAL) _chromiva_cli_files; return ;;
    *"|"*) COMPREPLY=($(compgen -W "${value//|/ }" -- "$cur")); return ;;
    *) return ;;  # a number or a name: nothing to offer
  esac
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$(sed 's/ .*//' <<<"$options") --help --language" -- "$cur"))
  elif [[ $command == reference ]]; then
    COMPREPLY=($(compgen -W "white transmission" -- "$cur"))
  else
    _chromiva_cli_files
  fi
}
complete -F _chromiva_cli chromiva-cli
