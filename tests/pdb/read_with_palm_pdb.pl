#!/usr/bin/perl
# Runs the sample writer and reads its file with Palm::PDB (Debian's
# libpalm-perl), an implementation of the file format that is not ours.
# Usage: read_with_palm_pdb.pl [emulator] <writer program> <file.pdb>
use strict;
use warnings;
use Palm::PDB;
use Palm::StdAppInfo;  # the handler: parses the category block, keeps records raw

my $file = pop @ARGV;
system(@ARGV, $file) == 0 or die "writer failed\n";

my $failures = 0;
sub check {
    my ($what, $got, $want) = @_;
    return if defined $got && $got eq $want;
    print "FAIL $what: got ", (defined $got ? "'$got'" : 'undef'), ", want '$want'\n";
    $failures++;
}

my $pdb = Palm::PDB->new;
$pdb->Load($file);

check('name', $pdb->{name}, 'RoadtallyDBPerl Van');
check('type', $pdb->{type}, 'DATA');
check('creator', $pdb->{creator}, 'RtLg');
check('backup bit', $pdb->{attributes}{Backup} ? 1 : 0, 1);
check('resource bit', $pdb->{attributes}{ResDB} ? 1 : 0, 0);
check('creation date is today', abs($pdb->{ctime} - time) < 86400 ? 1 : 0, 1);

my $appinfo = $pdb->{appinfo};
my @labels = map { $_->{name} } @{$appinfo->{categories}};
check("label $_", $labels[$_], ('Fuel', 'Service', 'fuel')[$_] // '') for 0 .. 15;
check('category ids', join(',', map { $_->{id} } @{$appinfo->{categories}}[0 .. 3]), '1,2,3,0');
check('last category id', $appinfo->{lastUniqueID}, 3);

my @records = @{$pdb->{records}};
check('record count', scalar @records, 5);
my @lengths = (102, 22, 29, 0, 17);
my @categories = (0, 0, 1, 2, 0);
my @dirty = (0, 1, 0, 0, 0);
my @private = (0, 0, 1, 0, 0);
for my $i (0 .. $#records) {
    my $r = $records[$i];
    check("record $i length", length $r->{data}, $lengths[$i]);
    check("record $i id", $r->{id}, 0x800001 + $i);
    check("record $i category", $r->{category}, $categories[$i]);
    check("record $i dirty", $r->{attributes}{Dirty} ? 1 : 0, $dirty[$i]);
    check("record $i private", $r->{attributes}{Secret} ? 1 : 0, $private[$i]);
}
my ($value, $units, $name, $items) = unpack('N C x15 Z22 n', $records[0]{data});
check('car value', sprintf('%08X', $value), 'FEFEFEFE');
check('car units', $units, 0x80);
check('car name', $name, 'Perl Van');
check('car items', $items, 1);
check('note', unpack('x16 Z*', $records[2]{data}), 'second entry');

print $failures ? "$failures failures\n" : "read back as written\n";
exit($failures ? 1 : 0);
