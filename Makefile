# Thin wrapper over CMake. `make demo` runs the main job on the bundled
# example; `make test` builds and runs every test.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
TSAN_BUILD ?= build-tsan
JOBS ?= 2

.PHONY: all build demo test test-sanitize test-tsan bench bench-stress bench-workflow bench-large bench-fastq bench-stream bench-build bench-gzread bench-aceread bench-coverage bench-consensus bench-split bench-hashsearch bench-overlap bench-acestream bench-acestream-python fuzz fuzz-build fuzz-seeds clean

all: build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure --no-tests=error -j $(JOBS)

# Any sanitizer report aborts the test that made it, so it fails.
test-sanitize:
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DOSTREL_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(SANITIZE_BUILD) --output-on-failure --no-tests=error -j $(JOBS)

# The tests that start threads, under ThreadSanitizer: those of the
# read-ahead stream buffer (and the files read through it), the bgzip
# reader, the indexing and extraction of bgzip files (htslib's decompression threads), the record
# index's two-part scan, the ACE readers, the contig work, and the commands
# that reach them, ostrel-overlap -t among them: the suites in which some test
# starts a thread, found by counting the threads each test starts. A new
# suite that starts threads joins the list. A data race report ends the test
# (or the command it runs) that made it, so it fails.
TSAN_SUITES = BgzfFile|BinExtractPasses|FastaIndex|IndexCommand|StreamExtraction|BlockReadAhead|GzStream|IcbtStream|OutputFile|RecordIndex|ContigWork|QualityAttach|QualityRead|AceContigReader|AceRealFiles|AceWrite|Checkpoints|AceTool|AceStatsCommand|EditCommands|OverlapCommand|MinimizerIndex|AllOverlaps
TSAN_TESTS ?= ^($(TSAN_SUITES))\.
test-tsan:
	cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DOSTREL_TSAN=ON
	cmake --build $(TSAN_BUILD) -j $(JOBS)
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
	  ctest --test-dir $(TSAN_BUILD) --output-on-failure --no-tests=error -j $(JOBS) -R '$(TSAN_TESTS)'

# Fuzzing: every target under fuzz/, built with clang and libFuzzer under
# AddressSanitizer and UndefinedBehaviorSanitizer, runs FUZZ_SECONDS seconds
# from the seeds in fuzz/corpus/<target> (read only); what it finds new goes
# to $(FUZZ_SCRATCH)/<target>, and a crash, hang, leak or sanitizer report
# is written there as crash-*, timeout-*, leak-* or oom-* and fails the run.
# FUZZ_SEED fixes the mutations' random seed (0: a new one each run).
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_SEED ?= 0
FUZZ_SCRATCH ?= $(FUZZ_BUILD)/corpus
FUZZ_TARGETS = AceFuzz BgzfFuzz CheckpointFuzz EdgeListFuzz FileListFuzz GzStreamFuzz IndexFuzz OptionFuzz \
  QualityFuzz RecordScannerFuzz ScannerFuzz

fuzz-build:
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSTREL_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

fuzz: fuzz-build
	@set -e; for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_SCRATCH)/$$t; \
	  dict=; test -f fuzz/$$t.dict && dict=-dict=fuzz/$$t.dict; \
	  echo "== $$t: $(FUZZ_SECONDS) s"; \
	  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    $(FUZZ_BUILD)/fuzz/$$t $(FUZZ_SCRATCH)/$$t fuzz/corpus/$$t $$dict \
	    -max_total_time=$(FUZZ_SECONDS) -seed=$(FUZZ_SEED) -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
	    -detect_leaks=1 -close_fd_mask=1 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_SCRATCH)/$$t- 2>$(FUZZ_SCRATCH)/$$t.log \
	    || { tail -n 60 $(FUZZ_SCRATCH)/$$t.log; echo "== $$t FAILED: see $(FUZZ_SCRATCH)/$$t.log"; exit 1; }; \
	  grep -E '^#[0-9]+[[:space:]]+DONE' $(FUZZ_SCRATCH)/$$t.log | tail -n 1; \
	done

# The seeds alone, each input of fuzz/corpus run once under the same checks:
# a run that always gives the same answer, for CI.
fuzz-seeds: fuzz-build
	@set -e; mkdir -p $(FUZZ_SCRATCH); for t in $(FUZZ_TARGETS); do \
	  echo "== $$t: seeds"; \
	  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    $(FUZZ_BUILD)/fuzz/$$t fuzz/corpus/$$t -runs=0 -timeout=10 -rss_limit_mb=2048 -detect_leaks=1 \
	    -close_fd_mask=1 -artifact_prefix=$(FUZZ_SCRATCH)/$$t- 2>$(FUZZ_SCRATCH)/$$t-seeds.log \
	    || { tail -n 60 $(FUZZ_SCRATCH)/$$t-seeds.log; echo "== $$t FAILED: see $(FUZZ_SCRATCH)/$$t-seeds.log"; exit 1; }; \
	done

# Benchmarks: a Release build of their own, with the bench/ programs. The
# data they make goes to bench/out (not kept in the repository).
BENCH_BUILD ?= build-bench
BENCH_OUT ?= bench/out
GZ_BENCH_FILE ?= $(BENCH_OUT)/reads.fa.gz
GZ_BENCH_MB ?= 200

bench-build:
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DOSTREL_BUILD_BENCH=ON -DOSTREL_BUILD_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS)

bench-gzread: bench-build
	mkdir -p $(BENCH_OUT)
	test -f $(GZ_BENCH_FILE) || $(BENCH_BUILD)/bench/gzread/gzread-bench make $(GZ_BENCH_FILE) $(GZ_BENCH_MB)
	$(BENCH_BUILD)/bench/gzread/gzread-bench read $(GZ_BENCH_FILE)

ACE_BENCH_CONTIGS ?= 4000

# A synthetic assembly of about 240 MB and its quality file, made once.
bench-aceread: bench-build
	mkdir -p $(BENCH_OUT)
	test -f $(BENCH_OUT)/synthetic.qual || \
	  $(BENCH_BUILD)/bench/aceread/aceread-bench make $(BENCH_OUT)/synthetic.ace $(BENCH_OUT)/synthetic.qual $(ACE_BENCH_CONTIGS)
	$(BENCH_BUILD)/bench/aceread/aceread-bench compare $(BENCH_OUT)/synthetic.ace $(BENCH_OUT)/synthetic.qual \
	  $(BENCH_BUILD)/acetool/ostrel-ace

# Coverage profiles of a contig of 200000 columns and 20000 reads of 800
# characters, against the test of every read at every index.
bench-coverage: bench-build
	$(BENCH_BUILD)/bench/coverage/coverage-bench

# Consensus votes and base segments on a contig of the same size whose reads
# mostly follow the consensus, against the plain loops over every read at
# every column.
bench-consensus: bench-build
	$(BENCH_BUILD)/bench/consensus/consensus-bench

# A contig of the same size cut at 50 regions, and its tails trimmed, against
# the same operations with the consensus voted the plain way.
bench-split: bench-build
	$(BENCH_BUILD)/bench/split/split-bench

bench-hashsearch: bench-build
	$(BENCH_BUILD)/bench/hashsearch/hashsearch-bench

# All-against-all overlaps of simulated Sanger-like reads from a 2 Mbp genome
# with repeats, at each coverage, by ostrel-overlap (with OVERLAP_OPTS added)
# and by minimap2's ava-pb and ava-ont presets side by side: time, memory,
# recall and precision against the reads' true placements, at each least
# overlap score. OVERLAP_BASELINE=BIN runs another build's ostrel-overlap
# alongside.
OVERLAP_OPTS ?=
OVERLAP_COVERAGES ?= 10,30
OVERLAP_SCORES ?= 300,100
OVERLAP_REPEATS ?= 1
OVERLAP_BASELINE ?=

bench-overlap: bench-build
	python3 bench/overlap/overlap-bench.py --ostrel $(BENCH_BUILD)/overlap/ostrel-overlap \
	  --generator $(BENCH_BUILD)/bench/overlap/overlap-bench --out $(BENCH_OUT) \
	  --coverages $(OVERLAP_COVERAGES) --scores $(OVERLAP_SCORES) --repeats $(OVERLAP_REPEATS) \
	  --opts="$(OVERLAP_OPTS)" $(if $(OVERLAP_BASELINE),--baseline $(OVERLAP_BASELINE))

# The bundled example, indexed and extracted under ./demo-out; only the
# two commands it runs are built.
demo:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS) --target ostrel-fastaindex ostrel-extractbins
	sh examples/run-demo.sh $(BUILD) demo-out

# Extraction benchmark on a synthetic dataset kept in bench/out/extract: a
# quick preset, and the large one whose figures the targets are stated for.
# EXTRACT_BASELINE=DIR also times another build's ostrel-extractbins against
# this one's, appending and with fresh outputs (-r), runs taken in turn.
EXTRACT_BASELINE ?=
bench: build
	python3 bench/extract/extract-bench.py --preset small --build $(BUILD) $(if $(EXTRACT_BASELINE),--baseline $(EXTRACT_BASELINE))

bench-large: build
	python3 bench/extract/extract-bench.py --preset large --build $(BUILD) $(if $(EXTRACT_BASELINE),--baseline $(EXTRACT_BASELINE))

# bgzip-compressed FASTQ (FASTQ_READS reads of 100-1,000 bases, 20 bins of
# 5,000 names) indexed and extracted, against samtools fqidx, seqkit grep
# and seqtk subseq on the same bins, outputs compared in records.
FASTQ_READS ?= 1000000
bench-fastq: build
	python3 bench/fastq/fastq-bench.py --reads $(FASTQ_READS) --build $(BUILD)

# ostrel-extractbins -S over the reads of bench-fastq as plain gzip FASTQ and
# as plain FASTA, each of 20 bins taking 5% of them, against gzip -dc and cat
# alone and against writing the text to a file; the outputs checked equal to
# the indexed extraction's first.
bench-stream: build
	python3 bench/stream/stream-bench.py --reads $(FASTQ_READS) --build $(BUILD)

# The large preset cut into 8 FASTA files, extracted by the workflow with 2
# shards on 2 cores against one ostrel-extractbins run.
bench-workflow: build
	python3 bench/workflow/workflow-bench.py --preset large --files 8 --shards 2 --cores 2 --build $(BUILD)

# ostrel-extractbins over 200 inputs and 5,000 bins: memory and open files
# that do not grow with them, outputs equal to runs one input at a time.
bench-stress: build
	python3 bench/stress/extract-stress.py --build $(BUILD) --out $(BENCH_OUT)/stress

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD) demo-out

# The assembly of bench-aceread read contig by contig (ostrel-ace stats and
# write, with and without the quality file, and fasta), against the whole
# reads and write and Biopython's ACE parser (Debian package
# python3-biopython); then an assembly ten times larger, made for the run
# and deleted after it (ACESTREAM_LARGE=0 skips it).
ACESTREAM_LARGE ?= 40000
bench-acestream: bench-build
	mkdir -p $(BENCH_OUT)
	test -f $(BENCH_OUT)/synthetic.qual || \
	  $(BENCH_BUILD)/bench/aceread/aceread-bench make $(BENCH_OUT)/synthetic.ace $(BENCH_OUT)/synthetic.qual $(ACE_BENCH_CONTIGS)
	python3 bench/acestream/ace-stream-bench.py --acetool $(BENCH_BUILD)/acetool/ostrel-ace \
	  --aceread $(BENCH_BUILD)/bench/aceread/aceread-bench --ace $(BENCH_OUT)/synthetic.ace \
	  --qual $(BENCH_OUT)/synthetic.qual --large $(ACESTREAM_LARGE)

# The same assembly read contig by contig from Python: ostrel.ace.parse (the
# module of the benchmark build) against Biopython's Ace.parse, each touching
# every read's sequence.
bench-acestream-python: bench-build
	mkdir -p $(BENCH_OUT)
	test -f $(BENCH_OUT)/synthetic.qual || \
	  $(BENCH_BUILD)/bench/aceread/aceread-bench make $(BENCH_OUT)/synthetic.ace $(BENCH_OUT)/synthetic.qual $(ACE_BENCH_CONTIGS)
	PYTHONPATH=$(BENCH_BUILD)/python /usr/bin/python3 bench/acestream/ace-python-bench.py \
	  --aceread $(BENCH_BUILD)/bench/aceread/aceread-bench --ace $(BENCH_OUT)/synthetic.ace --qual $(BENCH_OUT)/synthetic.qual
