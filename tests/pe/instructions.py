"""Finds instructions an 80386 cannot execute in the code of a MinGW-linked program, and
names the function each sits in (from the linker map, as the program itself is stripped)."""
import bisect
import re
import subprocess

OBJDUMP = 'i686-w64-mingw32-objdump'
CXXFILT = 'i686-w64-mingw32-c++filt'

# Everything the 80386 and its 80387 execute, as objdump spells it in Intel syntax.
I386 = set('''
aaa aad aam aas adc add and arpl bound bsf bsr bt btc btr bts call cbw cwde cwd cdq clc cld
cli clts cmc cmp cmps cmpsb cmpsw cmpsd daa das dec div enter hlt idiv imul in inc ins insb insw
insd int int3 into iret iretd ja jae jb jbe jc jcxz jecxz je jg jge jl jle jmp jna jnae jnb jnbe
jnc jne jng jnge jnl jnle jno jnp jns jnz jo jp jpe jpo js jz lahf lar lds lea leave les lfs lgdt
lgs lidt lldt lmsw lods lodsb lodsw lodsd loop loope loopne loopz loopnz lsl lss ltr mov movs
movsb movsw movsd movsx movzx mul neg nop not or out outs outsb outsw outsd pop popa popad popf
popfd push pusha pushad pushf pushfd rcl rcr ret retf lret ljmp lcall rol ror sahf sal sar sbb
scas scasb scasw scasd seta setae setb setbe setc sete setg setge setl setle setna setnae setnb
setnbe setnc setne setng setnge setnl setnle setno setnp setns setnz seto setp setpe setpo sets
setz sgdt shl shld shr shrd sidt sldt smsw stc std sti stos stosb stosw stosd str sub test verr
verw wait fwait xchg xlat xlatb xor
f2xm1 fabs fadd faddp fbld fbstp fchs fclex fnclex fcom fcomp fcompp fcos fdecstp fdiv fdivp
fdivr fdivrp ffree fiadd ficom ficomp fidiv fidivr fild fimul fincstp finit fninit fist fistp
fisub fisubr fld fld1 fldcw fldenv fldl2e fldl2t fldlg2 fldln2 fldpi fldz fmul fmulp fnop fpatan
fprem fprem1 fptan frndint frstor fsave fnsave fscale fsin fsincos fsqrt fst fstcw fnstcw fstenv
fnstenv fstp fstsw fnstsw fsub fsubp fsubr fsubrp ftst fucom fucomp fucompp fxam fxch fxtract
fyl2x fyl2xp1
'''.split())
PREFIXES = {'rep', 'repz', 'repnz', 'repe', 'repne', 'lock', 'data16', 'addr16',
            'cs', 'ds', 'es', 'ss', 'fs', 'gs'}
LATER_REGISTERS = re.compile(r'\b(mm\d|xmm\d+|ymm\d+|[cd]r[4-9])\b')


def text_input_sections(map_path):
    """(start, size, name) of every input section the linker put into the output .text."""
    lines = open(map_path).read().splitlines()
    start = next(i for i, l in enumerate(lines) if re.match(r'^\.text\s', l))
    found, pending = [], None
    for line in lines[start + 1:]:
        if line and not line[0].isspace():
            break  # the next output section
        m = re.match(r'^ (\S+)(?:\s+(0x[0-9a-f]+)\s+(0x[0-9a-f]+)\s+\S)?', line)
        if m and not line.startswith(' *'):
            if m.group(2):
                found.append((int(m.group(2), 16), int(m.group(3), 16), m.group(1)))
            else:
                pending = m.group(1)  # its address is on the next line
            continue
        m = re.match(r'^\s+(0x[0-9a-f]+)\s+(0x[0-9a-f]+)\s+(\S+)', line)
        if m:
            # An input section's address line, or data the script itself puts there (LONG).
            found.append((int(m.group(1), 16), int(m.group(2), 16), pending or m.group(3)))
            pending = None
    return sorted(s for s in found if s[1] > 0)


def function_name(section):
    mangled = section.split('$', 1)[1] if '$' in section else section
    out = subprocess.run([CXXFILT, '-n', mangled.split('.')[0]], stdout=subprocess.PIPE, text=True)
    return out.stdout.strip() or mangled


def later_instructions(exe, map_path):
    """Lines 'address function: instruction' for each instruction the 80386 lacks."""
    sections = text_input_sections(map_path)
    starts = [s[0] for s in sections]
    listing = subprocess.run([OBJDUMP, '-d', '-w', '-M', 'intel', '--no-show-raw-insn', '-j',
                              '.text', exe], stdout=subprocess.PIPE, text=True, check=True).stdout
    found, seen = [], set()
    for line in listing.splitlines():
        m = re.match(r'^\s*([0-9a-f]+):\t(.*)$', line)
        if not m:
            continue
        address, text = int(m.group(1), 16), m.group(2).strip()
        seen.add(address)
        i = bisect.bisect_right(starts, address) - 1
        if i < 0 or not sections[i][2].startswith('.text'):
            continue  # data the linker places in .text (constructor lists)
        words = text.split()
        while words and words[0] in PREFIXES:
            words = words[1:]
        op = words[0] if words else ''
        operands = ' '.join(words[1:])
        # The one-byte nop is the 8086's; "nop" with an operand is the Pentium Pro's 0F 1F.
        if op not in I386 or (op == 'nop' and operands) or LATER_REGISTERS.search(operands):
            found.append('%08x %s: %s' % (address, function_name(sections[i][2]), text))
    # A misread stretch of data would shift every instruction after it.
    found += ['%08x %s: not an instruction boundary' % (s, function_name(n))
              for s, _, n in sections if n.startswith('.text') and s not in seen]
    return found
