#!/bin/sh
# Stands in for TShark: prints each argument it receives in brackets.
for argument in "$@"; do
  printf '[%s]' "$argument"
done
printf '\n'
