# bash completion for pismolot-render

# Offers the lines of standard input that begin with the word being completed.
# Unquoted, each is escaped so that a name with blanks goes in as one word;
# after an opening quote, readline keeps the quote and takes the name as it is.
_pismolot_render_offer() {
    local typed=$1 line quoted=false
    case $typed in
        \"* | \'*) quoted=true typed=${typed:1} typed=${typed%[\"\']} ;;
        *) typed=${typed//\\/} ;;
    esac
    COMPREPLY=()
    while IFS= read -r line; do
        [[ -n $line && $line == "$typed"* ]] || continue
        if $quoted; then
            COMPREPLY+=("$line")
        else
            COMPREPLY+=("$(printf '%q' "$line")")
        fi
    done
}

_pismolot_render() {
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
        -o | --output)
            _filedir '@(bmp|png)'
            return
            ;;
        --style)
            # --list-styles prints "index<TAB>name"; offer the names.
            _pismolot_render_offer "$cur" < <("$1" --list-styles 2>/dev/null | cut -f2-)
            return
            ;;
        --font)
            _pismolot_render_offer "$cur" < <("$1" --list-fonts 2>/dev/null)
            return
            ;;
        --size | --background | --screen | --dpi)
            return
            ;;
    esac
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '-o --output --font --size --bold --italic --underline
            --style --background --screen --dpi --list-styles --list-fonts --help --version' \
            -- "$cur"))
    fi
} && complete -F _pismolot_render pismolot-render
