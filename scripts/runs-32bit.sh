#!/usr/bin/env bash
# Exits 0 when this machine runs 32-bit x86 Linux programs, as Wine's 32-bit
# loader is one; 1 when its kernel has no 32-bit execution (some virtual
# machines' kernels are built without it). Without an assembler it assumes so.
dir=$(mktemp -d) || exit 0
trap 'rm -rf "$dir"' EXIT
printf '.globl _start\n_start: movl $1, %%eax\nxorl %%ebx, %%ebx\nint $0x80\n' |
  as --32 -o "$dir/exit.o" 2>/dev/null && ld -m elf_i386 -o "$dir/exit" "$dir/exit.o" 2>/dev/null ||
  exit 0
"$dir/exit" 2>/dev/null || exit 1
