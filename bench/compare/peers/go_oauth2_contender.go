// The golang.org/x/oauth2 contender of the comparison bench: clientcredentials.Config.Token with the client
// authenticated in the Authorization header, one http.Client (and so its kept-alive connections) for the whole
// run. Speaks bench_contender's line protocol on standard input: "run MS", "count N" -> "REQUESTS SECONDS";
// "memory" -> "RSS_KIB PEAK_KIB"; "quit". Usage: go_oauth2_contender URL (SSL_CERT_FILE names the CA over HTTPS,
// which Go's crypto/x509 reads itself).
package main

import (
	"bufio"
	"context"
	"fmt"
	"net/http"
	"os"
	"strconv"
	"strings"
	"time"

	"golang.org/x/oauth2"
	"golang.org/x/oauth2/clientcredentials"
)

type userAgent struct{ next http.RoundTripper }

func (u userAgent) RoundTrip(r *http.Request) (*http.Response, error) {
	r.Header.Set("User-Agent", "zqhttpclient/1.0")
	return u.next.RoundTrip(r)
}

func memory() string {
	data, err := os.ReadFile("/proc/self/status")
	if err != nil {
		return "-1 -1"
	}
	rss, peak := "-1", "-1"
	for _, line := range strings.Split(string(data), "\n") {
		fields := strings.Fields(line)
		if len(fields) >= 2 && fields[0] == "VmRSS:" {
			rss = fields[1]
		} else if len(fields) >= 2 && fields[0] == "VmHWM:" {
			peak = fields[1]
		}
	}
	return rss + " " + peak
}

func main() {
	config := clientcredentials.Config{
		ClientID:     "demo-client",
		ClientSecret: "demo-secret",
		TokenURL:     os.Args[1],
		AuthStyle:    oauth2.AuthStyleInHeader,
	}
	client := &http.Client{Transport: userAgent{http.DefaultTransport}}
	ctx := context.WithValue(context.Background(), oauth2.HTTPClient, client)
	requestOnce := func() error {
		token, err := config.Token(ctx)
		if err != nil {
			return err
		}
		if token.AccessToken != "fixture-access-token" {
			return fmt.Errorf("unexpected token %q", token.AccessToken)
		}
		return nil
	}
	scanner := bufio.NewScanner(os.Stdin)
	for scanner.Scan() {
		command := strings.Fields(scanner.Text())
		if len(command) == 0 || command[0] == "quit" {
			return
		}
		if command[0] == "memory" {
			fmt.Println(memory())
			continue
		}
		n, _ := strconv.Atoi(command[len(command)-1])
		start := time.Now()
		done := 0
		for {
			if command[0] == "run" && time.Since(start) >= time.Duration(n)*time.Millisecond {
				break
			}
			if command[0] != "run" && done >= n {
				break
			}
			if err := requestOnce(); err != nil {
				fmt.Println("error golang.org/x/oauth2:", err)
				os.Exit(1)
			}
			done++
		}
		fmt.Printf("%d %.6f\n", done, time.Since(start).Seconds())
	}
}
