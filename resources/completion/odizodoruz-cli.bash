# Bash completion for odizodoruz-cli: commands, options, encoding names after -f/-t, and files and
# folders elsewhere.

_odizodoruz_cli() {
    local cur prev command word
    COMPREPLY=()
    cur="${COMP_WORDS[COMP_CWORD]}"
    prev="${COMP_WORDS[COMP_CWORD - 1]}"

    if [[ $COMP_CWORD -eq 1 ]]; then
        mapfile -t COMPREPLY < <(compgen -W "encodings convert replace detect help --help -h --version" -- "$cur")
        return 0
    fi
    command="${COMP_WORDS[1]}"

    # After "--" every word is a file or folder.
    for word in "${COMP_WORDS[@]:2:COMP_CWORD-2}"; do
        if [[ $word == "--" ]]; then
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            compopt -o filenames 2>/dev/null
            return 0
        fi
    done

    case "$prev" in
        -f | --from | -t | --to)
            # The tool's own list, so that every encoding it knows is offered.
            local names
            names="$("${COMP_WORDS[0]}" encodings 2>/dev/null | awk '{ print $1 }')"
            [[ -n $names ]] || names="viqr ztwin viscii vps vni tcvn1 tcvn2 ncr utf8 utf16 cp1258 utf8-nfd"
            # The source may also be detected file by file.
            [[ $prev == -f || $prev == --from ]] && names="auto $names"
            mapfile -t COMPREPLY < <(compgen -W "$names" -- "${cur,,}")
            return 0
            ;;
        --keys | --mask | --find | --with | --jobs)
            return 0
            ;;
        --replace)
            return 0
            ;;
    esac
    # The second word after --replace is its replacement text.
    if [[ $COMP_CWORD -ge 3 && ${COMP_WORDS[COMP_CWORD - 2]} == "--replace" ]]; then
        return 0
    fi

    if [[ $cur == -* ]]; then
        case "$command" in
            convert) mapfile -t COMPREPLY < <(compgen -W "-f --from -t --to --html --overwrite --compose --best-guess --replace --keys --mask --jobs --" -- "$cur") ;;
            detect) mapfile -t COMPREPLY < <(compgen -W "--mask --keys --" -- "$cur") ;;
            replace) mapfile -t COMPREPLY < <(compgen -W "--find --with --mask --" -- "$cur") ;;
        esac
        return 0
    fi
    case "$command" in
        convert | replace | detect)
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            compopt -o filenames 2>/dev/null
            ;;
    esac
    return 0
}

complete -F _odizodoruz_cli odizodoruz-cli
