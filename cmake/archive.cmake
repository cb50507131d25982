# Builds build/adatok.vbf, the archive the game reads all its assets from.
add_custom_target(koravex_archive ALL)
