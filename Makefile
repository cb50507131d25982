# The two commands a newcomer needs; both install missing Debian packages first.
.PHONY: play test
play:
	bash scripts/play.sh
test:
	bash scripts/test.sh
