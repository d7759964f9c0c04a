; kvtool arrangement: the song is the MIDI file theme.mid beside this file.
midi = theme.mid
