; theme
midi = theme.mid
